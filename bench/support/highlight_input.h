// The input of the highlighting benchmarks: the 100 MB benchmark document (the corpus's
// prose and NFO art with addresses) and 100 keywords taken from its own words.
#pragma once

#include <algorithm>
#include <cctype>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "editor/keyword_list.h"
#include "support/benchmark_document.h"

#ifndef TAVREL_CORPUS_DIR
#error "the highlighting benchmarks need TAVREL_CORPUS_DIR"
#endif

namespace tavrel::bench {

// Addresses of every row kind the table knows, in the forms text files write them: bare,
// in parentheses, with trailing punctuation, inside a sentence.
inline const char* const kAddresses[] = {
    "www.example.org/path",      "joe@host.example.com,",      "(http://site.example/a?b=c)",
    "FTP.files.example.net.",    "mailto:ann@example.com",     "news:alt.ascii.art",
    "<https://secure.example/>", "gopher.example.net;",        "see WWW.NFO.example/x.nfo",
    "telnet://bbs.example:23",   "\"ftp://ftp.example/pub/\"", "x@y"};

// The 100 MB benchmark document: the corpus's prose and NFO art (benchmark_document.h) with one of
// the addresses above appended to every eighth line, repeated to 100 MB.
inline const std::string& benchText() {
    static const std::string text = [] {
        const std::string unit = benchmarkDocumentUnit(TAVREL_CORPUS_DIR);
        std::string withAddresses;
        withAddresses.reserve(unit.size() + unit.size() / 40);
        std::size_t line = 0;
        for (std::size_t at = 0; at < unit.size();) {
            std::size_t end = unit.find("\r\n", at);
            end = end == std::string::npos ? unit.size() : end;
            withAddresses.append(unit, at, end - at);
            if (line % 8 == 0) {
                withAddresses += ' ';
                withAddresses += kAddresses[(line / 8) % std::size(kAddresses)];
            }
            withAddresses.append(unit, end, std::min<std::size_t>(2, unit.size() - end));
            at = end + 2;
            ++line;
        }
        return repeatedTo100MB(withAddresses);
    }();
    return text;
}

// The keywords: every tenth of the 1000 most frequent words (letters only, three or more)
// of the text, so that common words and rare ones are both in the list.
inline const std::vector<std::string>& keywordWords() {
    static const std::vector<std::string> words = [] {
        const std::string unit = benchmarkDocumentUnit(TAVREL_CORPUS_DIR);
        std::map<std::string, std::size_t> counts;
        std::string word;
        for (const char c : unit) {
            const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (lower >= 'a' && lower <= 'z') {
                word += lower;
                continue;
            }
            if (word.size() >= 3) {
                ++counts[word];
            }
            word.clear();
        }
        std::vector<std::pair<std::size_t, std::string>> ranked;
        for (const auto& [w, n] : counts) {
            ranked.emplace_back(n, w);
        }
        std::sort(ranked.begin(), ranked.end(),
                  [](const auto& a, const auto& b) { return a.first > b.first; });
        std::vector<std::string> out;
        for (std::size_t i = 0; i < ranked.size() && out.size() < 100; i += 10) {
            out.push_back(ranked[i].second);
        }
        return out;
    }();
    return words;
}

inline void addKeywords(tavrel::KeywordList& list) {
    for (const std::string& w : keywordWords()) {
        list.addKeyword(w, tavrel::koWholeWords, 0x00FF00, 0, 0, 1, 0);
    }
}

} // namespace tavrel::bench
