// Long keyword lists with separators inside keywords, mixed case rules and keywords that
// overlap one another, matched over random and corpus paragraphs, against a plain walk of the
// matching rule: each keyword in list order tried at every offset of the masked segment.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "editor/editor_highlights.h"

namespace tavrel {
namespace {

using Triple = std::tuple<Pos, Pos, std::int32_t>; // start, length, context

struct Keyword {
    std::string word;
    std::uint8_t options = koWholeWords;
    std::int32_t context = 1;
};

unsigned char upperOf(unsigned char c, UpperCaseType type) {
    if (c >= 'a' && c <= 'z') {
        return static_cast<unsigned char>(c - 32);
    }
    if (type == UpperCaseType::Ansi) {
        if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
            return static_cast<unsigned char>(c - 32);
        }
        switch (c) {
        case 0x9A:
            return 0x8A;
        case 0x9C:
            return 0x8C;
        case 0x9E:
            return 0x8E;
        case 0xFF:
            return 0x9F;
        default:
            break;
        }
    }
    return c;
}

// Keyword after keyword, offset after offset: a keyword matches where its bytes (both sides
// upper-cased unless it matches case) equal the segment's with the bytes of closed runs and
// earlier matches made 5; a whole word needs a separator or the paragraph's end on both
// sides, read in the paragraph itself; after a match, accepted or not, the keyword's search
// goes on behind it.
std::vector<Triple> reference(const std::vector<Keyword>& keywords, const std::string& text,
                              std::size_t from, std::size_t to, const std::vector<Triple>& closed,
                              const std::bitset<256>& separators, UpperCaseType type) {
    std::vector<bool> masked(to - from, false);
    for (const auto& [start, length, context] : closed) {
        for (Pos i = start; i < start + length; ++i) {
            if (context != 0 && i >= static_cast<Pos>(from) && i < static_cast<Pos>(to)) {
                masked[static_cast<std::size_t>(i) - from] = true;
            }
        }
    }
    const auto separator = [&](std::size_t i) {
        return separators[static_cast<unsigned char>(text[i])];
    };
    std::vector<Triple> found;
    for (const Keyword& k : keywords) {
        const std::size_t n = k.word.size();
        if (n == 0 || k.context == 0) {
            continue;
        }
        const bool matchCase = (k.options & koMatchCase) != 0;
        const auto fold = [&](unsigned char c) { return matchCase ? c : upperOf(c, type); };
        std::size_t at = 0;
        while (at + n <= to - from) {
            bool same = true;
            for (std::size_t j = 0; j < n && same; ++j) {
                const auto c = masked[at + j] ? 5 : static_cast<unsigned char>(text[from + at + j]);
                same = fold(c) == fold(static_cast<unsigned char>(k.word[j]));
            }
            if (!same) {
                ++at;
                continue;
            }
            const std::size_t start = from + at;
            const bool whole = (start == 0 || separator(start - 1)) &&
                               (start + n >= text.size() || separator(start + n));
            if ((k.options & koWholeWords) == 0 || whole) {
                found.emplace_back(static_cast<Pos>(start), static_cast<Pos>(n), k.context);
                std::fill_n(masked.begin() + static_cast<std::ptrdiff_t>(at), n, true);
            }
            at += n;
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::bitset<256> bitsOf(std::string_view members) {
    std::bitset<256> set;
    for (const char c : members) {
        set[static_cast<unsigned char>(c)] = true;
    }
    return set;
}

// The corpus's text files, each as one paragraph (breaks made spaces, as a paragraph has
// none).
std::vector<std::string> corpusTexts() {
    std::vector<std::string> texts;
    for (const char* name : {"/txt/mobydick.txt", "/txt/jargon447.txt", "/nfo/up17pce.nfo",
                             "/nfo/sr-fcinfo10.txt", "/txt/gcal-de.txt", "/txt/rfc8709.txt"}) {
        std::ifstream in(std::string(TAVREL_CORPUS_DIR) + name, std::ios::binary);
        std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::replace(text.begin(), text.end(), '\r', ' ');
        std::replace(text.begin(), text.end(), '\n', ' ');
        if (!text.empty()) {
            texts.push_back(std::move(text));
        }
    }
    return texts;
}

class Lists {
public:
    explicit Lists(std::mt19937& random) : random_(random) {}

    std::size_t below(std::size_t n) { return random_() % n; }

    // Bytes that are separators, letters of both cases (some only the Windows-1252 table
    // folds), a text-art byte and the mask byte.
    std::string randomText(std::size_t length) {
        static constexpr std::string_view kBytes = "aAbBc .,:-()\t\xE9\xC9\xFF\x9F\xDB\x05";
        std::string out;
        for (std::size_t i = 0; i < length; ++i) {
            out += kBytes[below(kBytes.size())];
        }
        return out;
    }

    // Pieces of the paragraph (so most occur in it) and random words, many holding a
    // separator, with prefixes and extensions of earlier ones so that keywords overlap.
    std::vector<Keyword> keywords(const std::string& paragraph, std::size_t count) {
        std::vector<Keyword> out;
        for (std::size_t i = 0; i < count; ++i) {
            Keyword k;
            const std::size_t kind = below(6);
            if (kind < 3 && !paragraph.empty()) {
                const std::size_t at = below(paragraph.size());
                k.word = paragraph.substr(at, 1 + below(9));
            } else if (kind == 3 && !out.empty()) {
                const std::string& earlier = out[below(out.size())].word;
                k.word = earlier.substr(0, below(earlier.size() + 1)) + randomText(below(3));
            } else if (kind == 4 && !out.empty()) {
                k.word = randomText(below(3)) + out[below(out.size())].word;
            } else {
                k.word = randomText(1 + below(5));
            }
            for (char& c : k.word) {
                if (below(4) == 0) {
                    c = static_cast<char>(
                        upperOf(static_cast<unsigned char>(c), UpperCaseType::Ascii));
                }
            }
            k.options =
                static_cast<std::uint8_t>(below(3) == 0 ? below(4) : std::size_t{koWholeWords});
            k.context = below(15) == 0 ? 0 : static_cast<std::int32_t>(i + 1);
            out.push_back(std::move(k));
        }
        return out;
    }

    // Closed runs (addresses, to the keywords) here and there, some of context 0.
    std::vector<Triple> closedRuns(std::size_t size) {
        std::vector<Triple> runs;
        for (std::size_t at = below(200); at < size; at += 1 + below(400)) {
            const std::size_t length = std::min(size - at, 1 + below(20));
            runs.emplace_back(static_cast<Pos>(at), static_cast<Pos>(length),
                              below(4) == 0 ? 0 : 1025);
            at += length;
        }
        return runs;
    }

private:
    std::mt19937& random_;
};

TEST(SeparatorKeywords, LongListsMatchAsEachKeywordInTurnWould) {
    std::mt19937 random(2718);
    Lists lists(random);
    const std::vector<std::string> corpus = corpusTexts();
    ASSERT_FALSE(corpus.empty()) << "corpus not found under " << TAVREL_CORPUS_DIR;
    const std::array<std::bitset<256>, 2> kSeparatorSets{bitsOf(kDefaultSeparators),
                                                         bitsOf("\t\n\r $%&,./:;<=>!?-()[]{}\xDB")};
    for (int round = 0; round < 600; ++round) {
        std::string text;
        if (round % 2 == 0) {
            text = lists.randomText(lists.below(1500));
        } else {
            const std::string& source = corpus[lists.below(corpus.size())];
            const std::size_t length = std::min(source.size(), 200 + lists.below(3000));
            text = source.substr(lists.below(source.size() - length + 1), length);
        }
        const std::vector<Keyword> keywords = lists.keywords(text, 1 + lists.below(150));
        const auto type = round % 3 == 0 ? UpperCaseType::Ansi : UpperCaseType::Ascii;
        const std::bitset<256>& separators = kSeparatorSets[lists.below(2)];
        KeywordList list;
        list.setUpperCaseType(type);
        for (const Keyword& k : keywords) {
            list.addKeyword(k.word, k.options, 0, 0, 0, k.context, 0);
        }
        const std::vector<Triple> closed =
            round % 4 == 1 ? std::vector<Triple>{} : lists.closedRuns(text.size());
        std::vector<HighlightRun> existing;
        for (const auto& [start, length, context] : closed) {
            existing.push_back({start, length, kNoColor, kNoColor, 0, 0, context});
        }
        const std::size_t from = round % 3 == 2 ? lists.below(text.size() + 1) : 0;
        const std::size_t to =
            round % 5 == 3 ? from + lists.below(text.size() - from + 1) : text.size();
        std::vector<HighlightRun> runs;
        list.match(text, static_cast<Pos>(from), static_cast<Pos>(to), separators, existing, runs);
        std::vector<Triple> got;
        for (const HighlightRun& r : runs) {
            got.emplace_back(r.start, r.length, r.context);
        }
        std::sort(got.begin(), got.end());
        ASSERT_EQ(got, reference(keywords, text, from, to, closed, separators, type))
            << "round " << round << ": " << keywords.size() << " keywords, the first '"
            << keywords[0].word << "', over '" << text.substr(0, 200) << "'";
    }
}

// Keywords that overlap one another at every byte of the paragraph find more occurrences
// than it has bytes; and the editor's own path to a paragraph's runs, a long one of corpus
// prose.
TEST(SeparatorKeywords, HeavilyOverlappingKeywordsAndTheEditorsPath) {
    const std::bitset<256> separators = bitsOf(kDefaultSeparators);
    std::vector<Keyword> dots;
    for (std::size_t n = 9; n > 0; --n) {
        dots.push_back(
            {std::string(n, '.') + (n % 3 == 0 ? "a" : ""), 0, static_cast<std::int32_t>(n)});
    }
    dots.push_back({"..", koWholeWords, 20});
    std::string text(8001, '.');
    text[3000] = 'a';
    KeywordList list;
    for (const Keyword& k : dots) {
        list.addKeyword(k.word, k.options, 0, 0, 0, k.context, 0);
    }
    std::vector<HighlightRun> runs;
    list.match(text, 0, static_cast<Pos>(text.size()), separators, {}, runs);
    std::vector<Triple> got;
    for (const HighlightRun& r : runs) {
        got.emplace_back(r.start, r.length, r.context);
    }
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, reference(dots, text, 0, text.size(), {}, separators, UpperCaseType::Ascii));

    std::mt19937 random(99);
    Lists lists(random);
    const std::string prose = corpusTexts().front().substr(0, 200'000);
    TextEngine engine;
    EditorHighlights highlights(engine);
    const std::vector<Keyword> keywords = lists.keywords(prose, 400);
    for (const Keyword& k : keywords) {
        highlights.keywords().addKeyword(k.word, k.options, 0, 0, 0, k.context, 0);
    }
    engine.loadBytes(std::string(prose));
    got.clear();
    for (const HighlightRun& r : highlights.paragraphRuns(0)) {
        got.emplace_back(r.start, r.length, r.context);
    }
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, reference(keywords, prose, 0, prose.size(), {}, engine.separatorSet(),
                             UpperCaseType::Ascii));
}

} // namespace
} // namespace tavrel
