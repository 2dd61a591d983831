// The benchmarks' 100 MB of real text: two long English texts of the corpus with every NFO
// file between them, repeated. Unlike generated art, prose holds the first and last bytes of
// most words, which is where a search filter or a word scanner shows its weakness.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tavrel::bench {

// One copy of the texts in their order, every break CR LF and every NUL a space: a file's
// text ends at its first NUL (the .ans files have them in their trailer), and the document
// counts every break as two positions, so a reference scan must see the bytes the document
// holds. Ends the program when the corpus is missing.
inline std::string corpusProseAndArt(const std::string& dir) {
    std::string unit;
    auto append = [&](const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        unit.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    append(dir + "/txt/mobydick.txt");
    std::vector<std::filesystem::path> nfos;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir + "/nfo", error)) {
        nfos.push_back(entry.path());
    }
    std::sort(nfos.begin(), nfos.end());
    for (const auto& nfo : nfos) {
        append(nfo);
    }
    append(dir + "/txt/jargon447.txt");
    std::replace(unit.begin(), unit.end(), '\0', ' ');
    std::string crlf;
    crlf.reserve(unit.size() + unit.size() / 16);
    for (const char c : unit) {
        if (c == '\n') {
            crlf += "\r\n";
        } else if (c != '\r') {
            crlf += c;
        }
    }
    if (crlf.empty()) {
        std::fprintf(stderr, "corpus not found under %s\n", dir.c_str());
        std::exit(1);
    }
    return crlf;
}

// `unit` repeated until the text holds at least `size` bytes.
inline std::string repeatedTo(const std::string& unit, std::size_t size) {
    std::string out;
    out.reserve(size + unit.size());
    while (out.size() < size) {
        out += unit;
    }
    return out;
}

} // namespace tavrel::bench
