// The fast address and keyword scanners against plain re-implementations of their rules, on
// random paragraphs made of keywords, addresses, separators, delimiters and text-art bytes:
// the reference walks every offset and searches every keyword one by one, so whatever the
// scanners skip or look up by table must come out the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "editor/avx2_dispatch.h"
#include "editor/editor_highlights.h"

namespace tavrel {
namespace {

// start, length, context
using Triple = std::tuple<Pos, Pos, std::int32_t>;

constexpr std::array<std::string_view, 15> kLiterals{
    "HTTP://",   "WWW.",    "MAILTO:",   "@",         "NEWS:",   "NNTP://",     "FTP://",  "FTP.",
    "GOPHER://", "GOPHER.", "TELNET://", "TN3270://", "WAIS://", "PROSPERO://", "HTTPS://"};
constexpr int kAtRow = 3;
constexpr std::string_view kDelimiters = "\t \"'()<>";

bool delimiter(char c) {
    return kDelimiters.find(c) != std::string_view::npos;
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

bool literalAt(const std::string& text, std::size_t m, std::string_view literal) {
    if (m + literal.size() > text.size()) {
        return false;
    }
    for (std::size_t i = 0; i < literal.size(); ++i) {
        if (upper(text[m + i]) != literal[i]) {
            return false;
        }
    }
    return true;
}

// Every offset of [from, to) in turn, every row in table order.
std::vector<Triple> referenceAddresses(const std::string& text, std::size_t from, std::size_t to,
                                       std::int32_t base) {
    std::vector<Triple> out;
    for (std::size_t m = from; m < to; ++m) {
        const bool afterDelimiter = m == 0 || delimiter(text[m - 1]);
        for (int row = 0; row < static_cast<int>(kLiterals.size()); ++row) {
            const std::string_view literal = kLiterals[static_cast<std::size_t>(row)];
            if ((row == kAtRow) == afterDelimiter || !literalAt(text, m, literal)) {
                continue;
            }
            const std::size_t after = m + literal.size();
            if (after >= text.size() || delimiter(text[after])) {
                continue;
            }
            std::size_t start = m;
            while (row == kAtRow && start > 0 && !delimiter(text[start - 1])) {
                --start;
            }
            std::size_t end = after;
            while (end < text.size() && !delimiter(text[end])) {
                ++end;
            }
            while (end - start > 1 &&
                   (text[end - 1] == ',' || text[end - 1] == '.' || text[end - 1] == ';')) {
                --end;
            }
            const std::size_t length = std::min<std::size_t>(end - start, 65535);
            out.emplace_back(static_cast<Pos>(start), static_cast<Pos>(length), base + row);
            m = std::max(m, start + length - 1);
            break;
        }
    }
    return out;
}

struct Keyword {
    std::string word;
    std::uint8_t options;
    std::int32_t context;
};

// Per keyword in list order: search the masked (and for most, upper-cased) copy of the segment
// left to right, accept whole words on the paragraph's own bytes, mask what was accepted.
std::vector<Triple> referenceKeywords(const std::vector<Keyword>& keywords, const std::string& text,
                                      std::size_t from, std::size_t to,
                                      const std::vector<Triple>& closed,
                                      std::string_view separators = kDefaultSeparators) {
    const auto separator = [&](char c) { return separators.find(c) != std::string_view::npos; };
    std::string work = text.substr(from, to - from);
    for (const auto& [start, length, context] : closed) {
        for (Pos i = start; i < start + length; ++i) {
            if (i >= static_cast<Pos>(from) && i < static_cast<Pos>(to)) {
                work[static_cast<std::size_t>(i) - from] = 5;
            }
        }
    }
    std::vector<Triple> found;
    for (const Keyword& k : keywords) {
        if (k.word.empty() || k.context == 0) {
            continue;
        }
        const bool matchCase = (k.options & koMatchCase) != 0;
        std::string form = k.word;
        if (!matchCase) {
            std::transform(form.begin(), form.end(), form.begin(), upper);
        }
        std::string source = work;
        if (!matchCase) {
            std::transform(source.begin(), source.end(), source.begin(), upper);
        }
        for (std::size_t at = 0; (at = source.find(form, at)) != std::string::npos;
             at += form.size()) {
            const std::size_t start = from + at;
            const std::size_t end = start + form.size();
            const bool whole = (start == 0 || separator(text[start - 1])) &&
                               (end >= text.size() || separator(text[end]));
            if ((k.options & koWholeWords) != 0 && !whole) {
                continue;
            }
            found.emplace_back(static_cast<Pos>(start), static_cast<Pos>(form.size()), k.context);
            for (std::size_t i = at; i < at + form.size(); ++i) {
                work[i] = 5;
                source[i] = 5;
            }
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

// Paragraphs from pieces that matter to the scanners, so that addresses, keywords, masks and
// the segment edges meet often; long enough to cross sixteen- and 64-byte blocks.
class Pieces {
public:
    explicit Pieces(std::mt19937& random) : random_(random) {}

    std::string paragraph(const std::vector<Keyword>& keywords, std::size_t pieces) {
        static const std::vector<std::string> kFixed = {"www.",
                                                        "WWW.nfo.org",
                                                        "http://",
                                                        "HTTPS://x.y/z",
                                                        "@",
                                                        "joe@host",
                                                        "mailto:a@b",
                                                        "ftp.",
                                                        "Ftp://f",
                                                        "gopher.",
                                                        "news:",
                                                        "tn3270://h",
                                                        "prospero://p",
                                                        "Www",
                                                        "ht",
                                                        "wa",
                                                        "(",
                                                        ")",
                                                        "<",
                                                        ">",
                                                        "\"",
                                                        "'",
                                                        " ",
                                                        "  ",
                                                        "\t",
                                                        ",",
                                                        ".",
                                                        ";",
                                                        ":",
                                                        "/",
                                                        "-",
                                                        "$",
                                                        "%",
                                                        "&",
                                                        "=",
                                                        "\xB0\xB1\xB2",
                                                        "\xDB\xDB",
                                                        "\xDC",
                                                        "\xDF",
                                                        "\xC4\xC4",
                                                        "\x05",
                                                        "a",
                                                        "Z",
                                                        "x9"};
        std::string out;
        for (std::size_t i = 0; i < pieces; ++i) {
            const auto pick = random_() % 4;
            if (pick == 0 && !keywords.empty()) {
                std::string w = keywords[random_() % keywords.size()].word;
                if (random_() % 2 == 0) {
                    std::transform(w.begin(), w.end(), w.begin(), upper);
                }
                out += w;
            } else {
                out += kFixed[random_() % kFixed.size()];
            }
        }
        return out;
    }

    std::vector<Keyword> keywords() {
        static const std::vector<std::string> kWords = {
            "nfo",  "info", "the",  "co",      "op",       "co-op", "www", "org", "a",   "x9",
            "host", "joe",  "nfo ", "foo.bar", "\xDB\xDB", "ht",    "wa",  "b",   "FTP", "mail"};
        std::vector<Keyword> out;
        const std::size_t count = 1 + random_() % 8;
        for (std::size_t i = 0; i < count; ++i) {
            const auto options = static_cast<std::uint8_t>(
                random_() % 8 < 6 ? std::uint32_t{koWholeWords} : random_() % 4);
            const std::int32_t context = random_() % 10 == 0 ? 0 : static_cast<std::int32_t>(i + 1);
            out.push_back({kWords[random_() % kWords.size()], options, context});
        }
        return out;
    }

private:
    std::mt19937& random_;
};

void addAll(KeywordList& list, const std::vector<Keyword>& keywords) {
    for (const Keyword& k : keywords) {
        list.addKeyword(k.word, k.options, 0, 0, 0, k.context, 0);
    }
}

// The whole paragraph mostly, else a random part of it, possibly empty.
std::pair<std::size_t, std::size_t> randomSegment(std::mt19937& random, std::size_t size) {
    const std::size_t from = random() % 3 == 0 ? random() % (size + 1) : 0;
    const std::size_t to = random() % 3 == 0 ? from + random() % (size - from + 1) : size;
    return {from, to};
}

// Runs a check with the scans on each of their instruction sets: AVX2 (where the
// processor has it) and SSE2.
template <typename Check>
void onEveryWidth(Check check) {
    for (const bool avx2 : {true, false}) {
        SCOPED_TRACE(avx2 ? "AVX2 allowed" : "SSE2");
        allowAvx2(avx2);
        check();
        allowAvx2(true);
        if (::testing::Test::HasFatalFailure()) {
            return;
        }
    }
}

void addressesInEverySegmentOfRandomParagraphs() {
    std::mt19937 random(20261207);
    Pieces pieces(random);
    for (int round = 0; round < 3000; ++round) {
        const std::string text = pieces.paragraph({}, 1 + random() % 60);
        const auto [from, to] = randomSegment(random, text.size());
        std::vector<FoundAddress> found;
        findAddresses(text, static_cast<Pos>(from), static_cast<Pos>(to), {}, found);
        std::vector<Triple> got;
        for (const FoundAddress& f : found) {
            got.emplace_back(f.start, f.length, f.index);
        }
        ASSERT_EQ(got, referenceAddresses(text, from, to, 0))
            << "text '" << text << "' from " << from << " to " << to;
    }
}

TEST(ScannersAgainstReference, AddressesInEverySegmentOfRandomParagraphs) {
    onEveryWidth([] { addressesInEverySegmentOfRandomParagraphs(); });
}

// The editor's separators, and a set too large to be compared with sixteen bytes at once
// (which also makes "-", parentheses and a block character separate words).
const std::string_view kManySeparators = "\t\n\r $%&,./:;<=>!?-()[]{}\xDB";

std::bitset<256> bitsOf(std::string_view members) {
    std::bitset<256> set;
    for (const char c : members) {
        set[static_cast<unsigned char>(c)] = true;
    }
    return set;
}

void keywordsInEverySegmentWithAddressesClosedToThem() {
    std::mt19937 random(7);
    Pieces pieces(random);
    for (int round = 0; round < 4000; ++round) {
        const std::string_view separators = round % 2 == 0 ? kDefaultSeparators : kManySeparators;
        const std::vector<Keyword> keywords = pieces.keywords();
        KeywordList list;
        addAll(list, keywords);
        const std::string text = pieces.paragraph(keywords, 1 + random() % 120);
        const auto [from, to] = randomSegment(random, text.size());
        const std::vector<Triple> addresses = referenceAddresses(text, 0, text.size(), 1024);
        std::vector<HighlightRun> closed;
        for (const auto& [start, length, context] : addresses) {
            closed.push_back({start, length, kNoColor, kNoColor, 0, 0, context});
        }
        std::vector<HighlightRun> runs;
        list.match(text, static_cast<Pos>(from), static_cast<Pos>(to), bitsOf(separators), closed,
                   runs);
        std::vector<Triple> got;
        for (const HighlightRun& r : runs) {
            got.emplace_back(r.start, r.length, r.context);
        }
        ASSERT_EQ(got, referenceKeywords(keywords, text, from, to, addresses, separators))
            << "text '" << text << "' from " << from << " to " << to << " separators "
            << separators.size() << " first keyword '" << keywords[0].word << "'";
    }
}

TEST(ScannersAgainstReference, KeywordsInEverySegmentWithAddressesClosedToThem) {
    onEveryWidth([] { keywordsInEverySegmentWithAddressesClosedToThem(); });
}

TEST(ScannersAgainstReference, WholeParagraphScanIsAddressesThenKeywordsOnTheRest) {
    std::mt19937 random(1);
    Pieces pieces(random);
    for (int round = 0; round < 1000; ++round) {
        const std::vector<Keyword> keywords = pieces.keywords();
        TextEngine engine;
        UrlHighlighter urls;
        EditorHighlights highlights(engine);
        highlights.setAddressHighlighter(&urls);
        addAll(highlights.keywords(), keywords);
        // Long enough for several 64-byte words of separator bits.
        const std::string text = pieces.paragraph(keywords, 1 + random() % 200);
        std::vector<Triple> expected = referenceAddresses(text, 0, text.size(), 1024);
        const std::vector<Triple> words =
            referenceKeywords(keywords, text, 0, text.size(), expected);
        expected.insert(expected.end(), words.begin(), words.end());
        std::sort(expected.begin(), expected.end());
        std::vector<Triple> got;
        for (const HighlightRun& r : highlights.scanParagraph(text)) {
            got.emplace_back(r.start, r.length, r.context);
        }
        ASSERT_EQ(got, expected) << "text '" << text << "'";
    }
}

// Paragraphs joined by breaks of every kind the loader knows, as a file holds them.
struct Joined {
    std::string text;
    std::vector<std::size_t> starts; // of each paragraph in `text`
};

Joined joinWithBreaks(std::mt19937& random, const std::vector<std::string>& paragraphs) {
    static const std::array<std::string_view, 4> kBreaks{"\r\n", "\n\r", "\r", "\n"};
    Joined out;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        if (i > 0) {
            out.text += kBreaks[random() % kBreaks.size()];
        }
        out.starts.push_back(out.text.size());
        out.text += paragraphs[i];
    }
    return out;
}

// Every paragraph's expected runs, one paragraph after another, starts moved by `shift` of
// each paragraph (its offset in a joined text, or 0).
template <typename PerParagraph>
std::vector<Triple> concatenated(const std::vector<std::string>& paragraphs,
                                 const std::vector<std::size_t>& shift, PerParagraph perParagraph) {
    std::vector<Triple> out;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        for (auto [start, length, context] : perParagraph(paragraphs[i])) {
            out.emplace_back(start + static_cast<Pos>(shift[i]), length, context);
        }
    }
    return out;
}

// A copy of `text` in a buffer of exactly its size, so that a read past either end is caught
// by the address sanitizer.
std::unique_ptr<char[]> exactCopy(const std::string& text) {
    auto copy = std::make_unique<char[]>(text.size());
    std::copy(text.begin(), text.end(), copy.get());
    return copy;
}

void addressesAcrossBreaksAreEachParagraphsOwn() {
    std::mt19937 random(31);
    Pieces pieces(random);
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::string> paragraphs(1 + random() % 6);
        for (std::string& p : paragraphs) {
            // Empty and very short paragraphs often: a break then meets the block edges.
            p = random() % 4 == 0 ? std::string() : pieces.paragraph({}, 1 + random() % 30);
        }
        const Joined joined = joinWithBreaks(random, paragraphs);
        const auto buffer = exactCopy(joined.text);
        std::vector<FoundAddress> found;
        findAddressesAcrossBreaks({buffer.get(), joined.text.size()}, {}, found);
        std::vector<Triple> got;
        for (const FoundAddress& f : found) {
            got.emplace_back(f.start, f.length, f.index);
        }
        ASSERT_EQ(got, concatenated(paragraphs, joined.starts,
                                    [](const std::string& p) {
                                        return referenceAddresses(p, 0, p.size(), 0);
                                    }))
            << "text '" << joined.text << "'";
    }
}

TEST(ScannersAgainstReference, AddressesAcrossBreaksAreEachParagraphsOwn) {
    onEveryWidth([] { addressesAcrossBreaksAreEachParagraphsOwn(); });
}

void keywordsAcrossBreaksAreEachParagraphsOwn() {
    std::mt19937 random(47);
    Pieces pieces(random);
    int together = 0;
    // The editor's separators, many, and a set without CR and LF: the breaks must still
    // bound the words.
    const std::array<std::string_view, 3> kSets{kDefaultSeparators, kManySeparators, " ,.;"};
    for (int round = 0; round < 3000; ++round) {
        const std::string_view separators = kSets[static_cast<std::size_t>(round) % kSets.size()];
        const std::vector<Keyword> keywords = pieces.keywords();
        KeywordList list;
        addAll(list, keywords);
        std::vector<std::string> paragraphs(1 + random() % 6);
        for (std::string& p : paragraphs) {
            p = random() % 4 == 0 ? std::string() : pieces.paragraph(keywords, 1 + random() % 40);
        }
        const Joined joined = joinWithBreaks(random, paragraphs);
        const auto buffer = exactCopy(joined.text);
        std::vector<HighlightRun> runs;
        if (!list.matchAcrossBreaks({buffer.get(), joined.text.size()}, bitsOf(separators), runs)) {
            // Only a list of whole words free of separators is matched this way.
            ASSERT_TRUE(runs.empty());
            ASSERT_TRUE(std::any_of(keywords.begin(), keywords.end(), [&](const Keyword& k) {
                return (k.options & koWholeWords) == 0 ||
                       k.word.find_first_of(separators) != std::string::npos;
            }));
            continue;
        }
        ++together;
        std::vector<Triple> got;
        for (const HighlightRun& r : runs) {
            got.emplace_back(r.start, r.length, r.context);
        }
        ASSERT_EQ(got, concatenated(paragraphs, joined.starts,
                                    [&](const std::string& p) {
                                        return referenceKeywords(keywords, p, 0, p.size(), {},
                                                                 separators);
                                    }))
            << "text '" << joined.text << "' first keyword '" << keywords[0].word << "'";
    }
    EXPECT_GT(together, 500); // the random lists took the one-pass way often enough
}

TEST(ScannersAgainstReference, KeywordsAcrossBreaksAreEachParagraphsOwn) {
    onEveryWidth([] { keywordsAcrossBreaksAreEachParagraphsOwn(); });
}

// A whole paragraph's runs: its addresses (when an address highlighter is attached), then
// the keywords on the text the addresses of a context other than 0 leave.
std::vector<Triple> referenceParagraph(const std::vector<Keyword>& keywords,
                                       const std::string& text, bool withUrls, std::int32_t base) {
    std::vector<Triple> expected;
    if (withUrls) {
        expected = referenceAddresses(text, 0, text.size(), base);
    }
    // An address of context 0 is not closed to keywords.
    std::vector<Triple> closed;
    std::copy_if(expected.begin(), expected.end(), std::back_inserter(closed),
                 [](const Triple& t) { return std::get<2>(t) != 0; });
    const std::vector<Triple> words = referenceKeywords(keywords, text, 0, text.size(), closed);
    expected.insert(expected.end(), words.begin(), words.end());
    std::stable_sort(expected.begin(), expected.end(), [](const Triple& x, const Triple& y) {
        return std::get<0>(x) < std::get<0>(y);
    });
    return expected;
}

// Keywords from the pieces; with `wholeWords` (the usual list, the one scanned a block at a
// time) all whole words free of separators.
std::vector<Keyword> randomKeywords(Pieces& pieces, bool wholeWords) {
    std::vector<Keyword> keywords = pieces.keywords();
    if (wholeWords) {
        for (Keyword& k : keywords) {
            k.options = koWholeWords;
            if (k.word.find_first_of(kDefaultSeparators) != std::string::npos) {
                k.word = "nfo";
            }
        }
    }
    return keywords;
}

// An engine with the keywords and, when asked, an address highlighter whose table has a row
// of context 0 (an address not closed to keywords).
struct Highlighted {
    TextEngine engine;
    UrlHighlighter urls;
    EditorHighlights highlights{engine};

    Highlighted(std::mt19937& random, const std::vector<Keyword>& keywords, bool contextZeroRow,
                bool withUrls) {
        if (contextZeroRow) {
            urls.setBaseContext(-static_cast<std::int32_t>(random() % 15));
        }
        if (withUrls) {
            highlights.setAddressHighlighter(&urls);
        }
        addAll(highlights.keywords(), keywords);
    }
};

// A document as the editor holds it: loaded from one buffer (paragraphs one after another),
// then some paragraphs edited (each then has a buffer of its own, elsewhere in memory, and
// breaks inserted or removed): every paragraph of every range must come out as the
// reference finds it in that paragraph alone.
TEST(ScannersAgainstReference, ParagraphsScannedTogetherAfterEdits) {
    std::mt19937 random(5);
    Pieces pieces(random);
    for (int round = 0; round < 300; ++round) {
        const std::vector<Keyword> keywords = randomKeywords(pieces, round % 3 != 0);
        Highlighted h(random, keywords, round % 7 == 0, round % 5 != 4);
        TextEngine& engine = h.engine;
        UrlHighlighter& urls = h.urls;
        EditorHighlights& highlights = h.highlights;
        std::vector<std::string> paragraphs(1 + random() % 40);
        for (std::string& p : paragraphs) {
            p = random() % 5 == 0 ? std::string() : pieces.paragraph(keywords, random() % 50);
        }
        engine.loadBytes(std::string(joinWithBreaks(random, paragraphs).text));
        for (int edit = static_cast<int>(random() % 4); edit > 0; --edit) {
            const Pos at =
                static_cast<Pos>(random() % static_cast<std::uint32_t>(engine.charCount() + 1));
            engine.select(at, at + static_cast<Pos>(random() % 3));
            static const std::array<const char*, 5> kTyped{"x", " ", "\r\n", "www.a.b ", ""};
            engine.setSelText(kTyped[random() % kTyped.size()]);
        }
        Document& doc = engine.document();
        const Pos count = doc.paragraphCount();
        const Pos first = random() % 3 == 0 ? static_cast<Pos>(random() % count) : 0;
        const Pos last =
            random() % 3 == 0 ? first + static_cast<Pos>(random() % (count + 2)) : count;
        ScannedParagraphs scanned;
        highlights.scanParagraphs(first, last, scanned);
        ASSERT_EQ(scanned.first, first);
        ASSERT_EQ(scanned.count(), std::min(last, count) - first);
        const std::int32_t base = urls.baseContext();
        const bool withUrls = highlights.addressHighlighter() != nullptr;
        for (Pos p = first; p < first + scanned.count(); ++p) {
            const std::string text(doc.paragraph(p));
            const std::vector<Triple> expected = referenceParagraph(keywords, text, withUrls, base);
            std::vector<Triple> got;
            for (const HighlightRun& r : scanned.of(p)) {
                got.emplace_back(r.start, r.length, r.context);
            }
            ASSERT_EQ(got, expected) << "paragraph " << p << " '" << text << "' of " << count;
        }
    }
}

// The editor's own way: the painter asks for the runs of the paragraphs on screen while the
// user pages down and up, steps a line up, jumps and edits (breaks typed and removed too);
// every paragraph the editor keeps runs for must hold what the reference finds in it alone,
// and the first screen must not have scanned the whole document.
TEST(ScannersAgainstReference, RunsKeptWhilePaintingEqualEachParagraphAlone) {
    std::mt19937 random(11);
    Pieces pieces(random);
    constexpr Pos kScreen = 40;
    for (int round = 0; round < 12; ++round) {
        const std::vector<Keyword> keywords = randomKeywords(pieces, round % 4 != 0);
        Highlighted h(random, keywords, round % 5 == 2, round % 6 != 5);
        TextEngine& engine = h.engine;
        UrlHighlighter& urls = h.urls;
        EditorHighlights& highlights = h.highlights;
        std::vector<std::string> paragraphs(1500 + random() % 1500);
        for (std::string& p : paragraphs) {
            p = random() % 5 == 0 ? std::string() : pieces.paragraph(keywords, random() % 24);
        }
        if (round % 2 == 1) { // a paragraph longer than two blocks somewhere
            paragraphs[random() % paragraphs.size()] = pieces.paragraph(keywords, 30000);
        }
        const std::string loaded = joinWithBreaks(random, paragraphs).text;
        engine.loadBytes(std::string(loaded));
        Document& doc = engine.document();
        const std::int32_t base = urls.baseContext();
        const bool withUrls = highlights.addressHighlighter() != nullptr;
        std::unordered_map<std::string, std::vector<Triple>> reference; // by paragraph text
        Pos top = 0;
        for (int step = 0; step < 40; ++step) {
            std::string did = "paint";
            if (step > 0) {
                switch (random() % 6) {
                case 0:
                    top += kScreen;
                    did = "page down";
                    break;
                case 1:
                    top -= kScreen;
                    did = "page up";
                    break;
                case 2:
                    top -= 1 + random() % 3;
                    did = "line up";
                    break;
                case 3:
                    top = static_cast<Pos>(random() %
                                           static_cast<std::uint32_t>(doc.paragraphCount()));
                    did = "jump";
                    break;
                default: {
                    const Pos at = static_cast<Pos>(
                        random() % static_cast<std::uint32_t>(engine.charCount() + 1));
                    engine.select(at, at + static_cast<Pos>(random() % 4 == 0 ? random() % 300
                                                                              : random() % 3));
                    static const std::array<const char*, 6> kTyped{
                        "x", " ", "\r\n", "www.a.b ", "", "nfo\r\n\r\njoe@h "};
                    engine.setSelText(kTyped[random() % kTyped.size()]);
                    did = "edit";
                }
                }
                top = std::clamp<Pos>(top, 0, doc.paragraphCount() - 1);
            }
            for (Pos p = top; p < std::min(top + kScreen, doc.paragraphCount()); ++p) {
                static_cast<void>(highlights.paragraphRuns(p));
            }
            Pos kept = 0;
            for (Pos p = 0; p < doc.paragraphCount(); ++p) {
                std::span<const HighlightRun> runs;
                if (!highlights.keptRuns(p, runs)) {
                    ASSERT_FALSE(p >= top && p < top + kScreen)
                        << "paragraph " << p << " painted but not kept";
                    continue;
                }
                ++kept;
                const std::string text(doc.paragraph(p));
                auto expected = reference.find(text);
                if (expected == reference.end()) {
                    expected =
                        reference.emplace(text, referenceParagraph(keywords, text, withUrls, base))
                            .first;
                }
                std::vector<Triple> got;
                for (const HighlightRun& r : runs) {
                    got.emplace_back(r.start, r.length, r.context);
                }
                ASSERT_EQ(got, expected->second)
                    << "round " << round << " step " << step << " after " << did << ": paragraph "
                    << p << " of " << doc.paragraphCount() << " '" << text << "'";
            }
            if (step == 0) {
                ASSERT_GT(kept, 0);
                ASSERT_LT(kept, doc.paragraphCount()) << "the first screen scanned everything";
            }
        }
    }
}

// A keyword longer than a run can hold, with an address inside it past the run's end: the
// address closes the word to the keyword whichever way the paragraphs are scanned.
TEST(ScannersAgainstReference, AKeywordLongerThanARunGivesWayToAnAddressInsideIt) {
    // "(", ")" and "@" separate no words, so the address lies inside the one word.
    const std::string word = std::string(70000, 'x') + "(joe@host)";
    const std::vector<Keyword> keywords{{word, koWholeWords, 1}, {"ab", koWholeWords, 2}};
    TextEngine engine;
    UrlHighlighter urls;
    EditorHighlights highlights(engine);
    highlights.setAddressHighlighter(&urls);
    addAll(highlights.keywords(), keywords);
    const std::vector<std::string> paragraphs{"ab", word, "ab " + word};
    engine.loadBytes(paragraphs[0] + "\r\n" + paragraphs[1] + "\r\n" + paragraphs[2]);
    ScannedParagraphs scanned;
    highlights.scanParagraphs(0, 3, scanned);
    ASSERT_EQ(scanned.count(), 3);
    for (Pos p = 0; p < 3; ++p) {
        const std::string& text = paragraphs[static_cast<std::size_t>(p)];
        std::vector<Triple> expected = referenceAddresses(text, 0, text.size(), 1024);
        const std::vector<Triple> words =
            referenceKeywords(keywords, text, 0, text.size(), expected);
        expected.insert(expected.end(), words.begin(), words.end());
        std::sort(expected.begin(), expected.end());
        std::vector<Triple> got;
        for (const HighlightRun& r : scanned.of(p)) {
            got.emplace_back(r.start, r.length, r.context);
        }
        EXPECT_EQ(got, expected) << "paragraph " << p;
    }
}

} // namespace
} // namespace tavrel
