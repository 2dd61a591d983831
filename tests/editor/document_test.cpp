// The paragraph store: loading, positions, structural replacement and writing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/document.h"
#include "support/corpus.h"

namespace tavrel {
namespace {

std::vector<std::string> paragraphs(Document& d) {
    std::vector<std::string> out;
    for (Pos p = 0; p < d.paragraphCount(); ++p) {
        out.emplace_back(d.paragraph(p));
    }
    return out;
}

std::string written(const Document& d, LineBreak lb = LineBreak::CrLf, bool trim = false) {
    std::string out;
    EXPECT_TRUE(d.write(
        [&](const char* data, std::size_t size) {
            out.append(data, size);
            return true;
        },
        lb, trim));
    return out;
}

struct BreakCase {
    std::string bytes;
    std::vector<std::string> paragraphs;
    Pos charCount;
    LineBreak last;
};

TEST(DocumentLoad, everyBreakKindCountsTwoPositions) {
    const std::vector<BreakCase> cases = {
        {"a\r\nb", {"a", "b"}, 4, LineBreak::CrLf},
        {"a\n\rb", {"a", "b"}, 4, LineBreak::LfCr},
        {"a\rb", {"a", "b"}, 4, LineBreak::Cr},
        {"a\nb", {"a", "b"}, 4, LineBreak::Lf},
        {"a\r\rb", {"a", "", "b"}, 6, LineBreak::Cr},
        {"a\n\nb", {"a", "", "b"}, 6, LineBreak::Lf},
        {"a\r\n", {"a", ""}, 3, LineBreak::CrLf},
        {"\r\n", {"", ""}, 2, LineBreak::CrLf},
        {"a\r\r\nb", {"a", "", "b"}, 6, LineBreak::CrLf}, // CR, then CR LF
        {"a\n\r\nb", {"a", "", "b"}, 6, LineBreak::Lf},   // LF CR, then LF
        {"", {""}, 0, LineBreak::CrLf},
    };
    for (const BreakCase& c : cases) {
        Document d;
        const LoadResult r = d.load(std::string(c.bytes));
        EXPECT_EQ(paragraphs(d), c.paragraphs) << testing::PrintToString(c.bytes);
        EXPECT_EQ(d.charCount(), c.charCount) << testing::PrintToString(c.bytes);
        EXPECT_EQ(r.lastBreak, c.last) << testing::PrintToString(c.bytes);
    }
}

TEST(DocumentLoad, nulBytesAreTextWhereverTheyAre) {
    using namespace std::string_literals;
    // Long enough for the sixteen-byte scan, with NULs on both sides of its block edges.
    const std::string tail = "\0"s + std::string(20, 'x') + "\0\r\n\0"s;
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"\0\0art\r\nend"s, {"\0\0art"s, "end"}},
        {"ab\0cd\r\nef"s, {"ab\0cd"s, "ef"}},
        {"ab\r\n\0"s, {"ab", "\0"s}},
        {"\0"s, {"\0"s}},
        {tail, {"\0"s + std::string(20, 'x') + "\0"s, "\0"s}},
    };
    for (const auto& [bytes, expected] : cases) {
        Document d;
        d.load(std::string(bytes));
        EXPECT_EQ(paragraphs(d), expected) << testing::PrintToString(bytes);
        EXPECT_EQ(d.text(), bytes) << testing::PrintToString(bytes);
    }
}

TEST(DocumentLoad, controlBytesAndHighBytesAreOrdinaryText) {
    std::string bytes;
    for (int c = 1; c < 256; ++c) {
        if (c != '\r' && c != '\n') {
            bytes.push_back(static_cast<char>(c));
        }
    }
    Document d;
    d.load(std::string(bytes));
    ASSERT_EQ(d.paragraphCount(), 1);
    EXPECT_EQ(d.paragraph(0), bytes);
    EXPECT_EQ(written(d), bytes);
}

TEST(DocumentLoad, paragraphsLongerThanAnyBufferAndManyParagraphs) {
    std::string huge(3'000'000, 'x');
    huge[65499] = 'y';
    huge[65500] = 'z';
    std::string bytes = "first\r\n" + huge + "\r\nlast";
    Document d;
    d.load(std::move(bytes));
    ASSERT_EQ(d.paragraphCount(), 3);
    EXPECT_EQ(d.paragraph(1), huge);
    EXPECT_EQ(d.paragraphStart(2), 7 + static_cast<Pos>(huge.size()) + 2);

    std::string many;
    for (int i = 0; i < 200000; ++i) {
        many += std::to_string(i) + "\n";
    }
    d.load(std::move(many));
    ASSERT_EQ(d.paragraphCount(), 200001);
    EXPECT_EQ(d.paragraph(123456), "123456");
    EXPECT_EQ(d.paragraphAt(d.paragraphStart(123456) + 3), 123456);
}

TEST(DocumentLoad, discardTrailingDropsBlanksOnly) {
    Document d;
    d.load(std::string("a \t\r\n b  \r\n\t"), true);
    EXPECT_EQ(paragraphs(d), (std::vector<std::string>{"a", " b", ""}));
    EXPECT_EQ(d.charCount(), 1 + 2 + 2 + 2);
}

TEST(DocumentPositions, breakPositionsBelongToTheParagraphBefore) {
    Document d;
    d.load(std::string("ab\ncd"));
    // a0 b1 CR2 LF3 c4 d5
    EXPECT_EQ(d.paragraphAt(2), 0);
    EXPECT_EQ(d.paragraphAt(3), 0);
    EXPECT_EQ(d.paragraphAt(4), 1);
    EXPECT_EQ(d.normalise(3), 2); // between CR and LF: the paragraph's end
    EXPECT_EQ(d.normalise(-5), 0);
    EXPECT_EQ(d.normalise(99), 6);
    EXPECT_EQ(d.charAt(2), '\r');
    EXPECT_EQ(d.charAt(3), '\n');
    EXPECT_EQ(d.textRange(1, 5), "b\r\nc");
    EXPECT_EQ(d.textRange(3, 6), "\ncd");
    EXPECT_EQ(d.textRange(-10, 100), "ab\r\ncd");
    EXPECT_EQ(d.textRange(4, 2), "");
}

TEST(DocumentReplace, insertsAndRemovesParagraphs) {
    Document d;
    d.load(std::string("one\r\ntwo\r\nthree"));
    TextChange c = d.replace(1, 1, "X\r\nY");
    EXPECT_EQ(d.text(), "oX\r\nYne\r\ntwo\r\nthree");
    EXPECT_EQ(c.insertedBreaks, 1);
    EXPECT_EQ(c.removedBreaks, 0);
    EXPECT_EQ(c.inserted, 4);

    c = d.replace(2, d.paragraphStart(3) + 2, ""); // across three breaks
    EXPECT_EQ(d.text(), "oXree");
    EXPECT_EQ(c.removedBreaks, 3);
    EXPECT_EQ(d.paragraphCount(), 1);

    d.replace(5, 5, "\n\nend"); // lone LFs become breaks counting two
    EXPECT_EQ(d.text(), "oXree\r\n\r\nend");
    EXPECT_EQ(d.charCount(), 12);
    EXPECT_EQ(d.paragraphStart(2), 9);

    d.replace(0, d.charCount(), "");
    EXPECT_EQ(d.paragraphCount(), 1);
    EXPECT_EQ(d.charCount(), 0);
}

TEST(DocumentReplace, positionsStayRightThroughManyEditsAtTheTop) {
    std::string bytes;
    for (int i = 0; i < 5000; ++i) {
        bytes += "line " + std::to_string(i) + "\r\n";
    }
    Document d;
    d.load(std::move(bytes));
    for (int i = 0; i < 300; ++i) {
        d.replace(0, 0, "x");
        if (i % 7 == 0) {
            d.replace(d.paragraphStart(2500), d.paragraphStart(2500), "\r\n");
        }
    }
    Pos expected = 0;
    for (Pos p = 0; p < d.paragraphCount(); ++p) {
        ASSERT_EQ(d.paragraphStart(p), expected) << p;
        ASSERT_EQ(d.paragraphAt(expected), p);
        expected += d.paragraphLength(p) + 2;
    }
    EXPECT_EQ(d.charCount() + 2, expected);
}

TEST(DocumentReplace, editedParagraphsLeaveTheSharedRunButTheirNeighboursKeepIt) {
    Document d;
    d.load(std::string("aa\r\nbb\ncc\rdd"));
    EXPECT_TRUE(d.continuesInMemory(0));
    EXPECT_TRUE(d.continuesInMemory(1));
    EXPECT_TRUE(d.continuesInMemory(2));
    EXPECT_FALSE(d.continuesInMemory(3));
    d.replace(d.paragraphStart(1) + 1, d.paragraphStart(1) + 1, "!");
    EXPECT_EQ(d.paragraph(1), "b!b");
    EXPECT_FALSE(d.continuesInMemory(0));
    EXPECT_FALSE(d.continuesInMemory(1));
    EXPECT_TRUE(d.continuesInMemory(2));
}

// Prose has blank lines between its paragraphs; a search run must not stop at each of them.
TEST(DocumentReplace, blankLinesStayInTheSharedRunUntilEdited) {
    Document d;
    d.load(std::string("one\r\n\r\ntwo\n\n\nthree\r\n"));
    ASSERT_EQ(d.paragraphCount(), 7);
    for (Pos p = 0; p < 5; ++p) {
        EXPECT_TRUE(d.continuesInMemory(p)) << p;
    }
    EXPECT_FALSE(d.continuesInMemory(5)); // "three" before an empty last paragraph
    EXPECT_EQ(d.runEnd(0, 1 << 20), 5);
    // The run's bytes in memory are the file's own, from the first paragraph on.
    EXPECT_EQ(std::string_view(d.paragraph(0).data(), 13), "one\r\n\r\ntwo\n\n\n");

    // Typing into a blank line takes it out of the run; deleting every line lets the
    // file's bytes go.
    d.replace(d.paragraphStart(1), d.paragraphStart(1), "x");
    EXPECT_FALSE(d.continuesInMemory(0));
    EXPECT_FALSE(d.continuesInMemory(1));
    EXPECT_TRUE(d.continuesInMemory(2));
    EXPECT_EQ(d.text(), "one\r\nx\r\ntwo\r\n\r\n\r\nthree\r\n");
    EXPECT_EQ(d.sharedChunkCount(), 1u);
    d.replace(0, d.charCount(), "");
    EXPECT_EQ(d.sharedChunkCount(), 0u);
}

TEST(DocumentReplace, swapExchangesWholeTextsAndTheirChunks) {
    Document a;
    Document b;
    a.load(std::string("first\r\n\r\nfile"));
    b.load(std::string("second"));
    a.swap(b);
    EXPECT_EQ(a.text(), "second");
    EXPECT_EQ(b.text(), "first\r\n\r\nfile");
    // Each edits and frees its own chunk afterwards.
    b.replace(0, b.charCount(), "");
    EXPECT_EQ(b.sharedChunkCount(), 0u);
    a.replace(0, 1, "S");
    EXPECT_EQ(a.text(), "Second");
    EXPECT_EQ(a.sharedChunkCount(), 0u);
}

TEST(DocumentReplace, largeTextsAreKeptAsOneChunk) {
    Document d;
    std::string big;
    for (int i = 0; i < 1000; ++i) {
        big += "row " + std::to_string(i) + "\r\n";
    }
    const std::string copy = big;
    d.replace(0, 0, std::move(big));
    EXPECT_EQ(d.text(), copy);
    EXPECT_TRUE(d.continuesInMemory(10)); // unedited rows point into the kept text
    d.replace(0, d.charCount(), std::string(copy));
    EXPECT_EQ(d.text(), copy);

    // Replacing everything builds the paragraphs as a load does: a NUL byte is text, and
    // lone breaks count two.
    std::string whole = copy + std::string("nul\0byte\nlast", 13);
    const TextChange change = d.replace(0, d.charCount(), std::string(whole));
    EXPECT_EQ(change.removedBreaks, 1000);
    EXPECT_EQ(change.insertedBreaks, 1001);
    EXPECT_EQ(d.paragraph(1000), std::string_view("nul\0byte", 8));
    EXPECT_EQ(d.paragraph(1001), "last");
    EXPECT_EQ(d.charCount(), static_cast<Pos>(whole.size()) + 1);
    EXPECT_TRUE(d.continuesInMemory(999));
    EXPECT_FALSE(d.continuesInMemory(1001));
}

TEST(DocumentWrite, breaksAndTrailingBlanks) {
    Document d;
    d.load(std::string("a \nb\t\n"));
    EXPECT_EQ(written(d), "a \r\nb\t\r\n");
    EXPECT_EQ(written(d, LineBreak::Lf), "a \nb\t\n");
    EXPECT_EQ(written(d, LineBreak::LfCr), "a \n\rb\t\n\r");
    EXPECT_EQ(written(d, LineBreak::Cr, true), "a\rb\r");
    int calls = 0;
    EXPECT_FALSE(d.write([&](const char*, std::size_t) { return ++calls < 2; }));
}

// Every corpus file loads; writing it back gives its bytes with CR LF breaks, NULs and all.
TEST(DocumentCorpus, everyFileRoundTripsWithCrLfBreaks) {
    const auto files = test::corpusFiles();
    if (files.empty()) {
        GTEST_SKIP() << "corpus not found at " << test::corpusDir();
    }
    for (const auto& path : files) {
        const std::string bytes = test::readFile(path);
        Document d;
        d.load(std::string(bytes));
        const std::string& expected = bytes;
        std::string normalised;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const char c = expected[i];
            if (c == '\r' || c == '\n') {
                const char other = c == '\r' ? '\n' : '\r';
                if (i + 1 < expected.size() && expected[i + 1] == other) {
                    ++i;
                }
                normalised += "\r\n";
            } else {
                normalised.push_back(c);
            }
        }
        EXPECT_EQ(written(d), normalised) << path;
        EXPECT_EQ(d.text(), normalised) << path;
        EXPECT_EQ(d.charCount(), static_cast<Pos>(normalised.size())) << path;
    }
}

} // namespace
} // namespace tavrel
