// The display lines of a document: wrapping, the pending work and its slices, exact
// answers that format first, and edits that keep the lines in step with the text (checked
// against a layout made afresh).
#include "editor/wrapped_layout.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "editor/layout_test_support.h"

namespace tavrel {
namespace {

using test::unitMetrics;

std::vector<Pos> allLineStarts(WrappedLayout& layout, const Document& doc) {
    std::vector<Pos> starts;
    const Pos lines = layout.lineCount();
    for (Pos line = 0; line < lines; ++line) {
        const Pos p = layout.paragraphOfLine(line);
        const Pos sub = line - layout.firstLineOf(p);
        starts.push_back(doc.paragraphStart(p) + layout.lineStart(p, sub));
    }
    return starts;
}

TEST(WrappedLayout, wrapsParagraphsIntoDisplayLines) {
    Document doc;
    doc.load("hello world\r\nabc\r\n");
    WrappedLayout layout(doc, unitMetrics());
    layout.setWrap(true, 8);
    EXPECT_EQ(layout.lineCount(), 4); // "hello ", "world", "abc", ""
    EXPECT_EQ(layout.firstLineOf(1), 2);
    EXPECT_EQ(layout.lineCountOf(0), 2);
    EXPECT_EQ(layout.lineStart(0, 1), 6);
    EXPECT_EQ(layout.paragraphOfLine(1), 0);
    EXPECT_EQ(layout.paragraphOfLine(3), 2);
    const WrappedLayout::LineSpan span = layout.knownLine(0);
    EXPECT_EQ(span.start, 0);
    EXPECT_EQ(span.stop, 6);
    EXPECT_FALSE(span.lastOfParagraph);
    EXPECT_TRUE(layout.knownLine(1).lastOfParagraph);
    EXPECT_TRUE(layout.knownLine(3).lastOfParagraph);

    layout.setWrap(false, 0);
    EXPECT_EQ(layout.lineCount(), 3);
    EXPECT_EQ(layout.widestLine(), 11);
}

TEST(WrappedLayout, unformattedParagraphsCountOneLineUntilTheirSliceComes) {
    std::string text;
    for (int i = 0; i < 1000; ++i) {
        text += "aaaa bbbb cccc dddd\r\n"; // two lines each at width 10
    }
    Document doc;
    doc.load(std::move(text));
    WrappedLayout layout(doc, unitMetrics());
    layout.setWrap(true, 10);
    EXPECT_TRUE(layout.hasPendingWork());
    EXPECT_EQ(layout.knownLineCount(), 1001);

    layout.ensureFormatted(500); // what painting a paragraph in the middle does
    EXPECT_EQ(layout.knownLineCount(), 1002);
    EXPECT_EQ(layout.firstLineOf(10), 20); // exact: formats paragraphs 0..10 first
    EXPECT_EQ(layout.knownFirstLineOf(12), 23);

    while (layout.formatSlice(std::chrono::milliseconds(25))) {
    }
    EXPECT_FALSE(layout.hasPendingWork());
    EXPECT_EQ(layout.knownLineCount(), 2001);
    EXPECT_EQ(layout.paragraphOfLine(1999), 999);
}

TEST(WrappedLayout, paragraphOfLineFormatsWhatComesBefore) {
    Document doc;
    doc.load("aa bb cc dd\r\nx\r\ny");
    WrappedLayout layout(doc, unitMetrics());
    layout.setWrap(true, 3);
    // Provisionally line 2 is "y"; formatted, paragraph 0 takes four lines.
    EXPECT_EQ(layout.knownParagraphOfLine(2), 2);
    EXPECT_EQ(layout.paragraphOfLine(2), 0);
    EXPECT_EQ(layout.paragraphOfLine(4), 1);
}

TEST(WrappedLayout, immediateModeFormatsOnEveryChange) {
    Document doc;
    doc.load("aa bb cc");
    WrappedLayout layout(doc, unitMetrics());
    layout.setWrap(true, 3);
    layout.setUpdateMode(UpdateMode::Immediate);
    EXPECT_FALSE(layout.hasPendingWork());
    EXPECT_EQ(layout.knownLineCount(), 3);
    layout.textChanged(doc.replace(8, 8, std::string_view("\r\ndd ee ff")));
    EXPECT_FALSE(layout.hasPendingWork());
    EXPECT_EQ(layout.knownLineCount(), 6);
}

// Edits of every kind, one after another, must leave exactly the lines a fresh layout of
// the resulting text has: this catches stale positions, lost lines and wrong re-breaks.
TEST(WrappedLayout, editsKeepTheLinesOfAFreshLayout) {
    for (const bool wrap : {true, false}) {
        std::mt19937 random(wrap ? 4242 : 99);
        Document doc;
        std::string start;
        for (int i = 0; i < 40; ++i) {
            start += "the quick brown fox jumps over the lazy dog";
            start += (i % 7 == 0) ? std::string(300, 'w') : std::string();
            start += (i % 5 == 0) ? "\t tab\r\n" : "\r\n";
        }
        doc.load(std::move(start));
        WrappedLayout layout(doc, unitMetrics());
        layout.setWrap(wrap, 17);
        const UpdateMode modes[] = {UpdateMode::Background, UpdateMode::OnNeed,
                                    UpdateMode::Immediate};
        const char* pieces[] = {"x", " ", "word ", "\r\n", "a\r\nb c", "", "\t", "long-word-here"};
        for (int round = 0; round < 400; ++round) {
            if (round % 50 == 0) {
                layout.setUpdateMode(modes[(round / 50) % 3]);
            }
            const Pos total = doc.charCount();
            const Pos a = static_cast<Pos>(random() % static_cast<unsigned>(total + 1));
            const Pos len = (random() % 3 == 0) ? static_cast<Pos>(random() % 40) : 0;
            const Pos b = std::min(total, a + len);
            layout.textChanged(doc.replace(a, b, std::string_view(pieces[random() % 8])));
            if (round % 3 == 0) {
                layout.ensureFormatted(doc.paragraphAt(a)); // painting the edited line
            }
            if (round % 17 == 0) {
                layout.formatSlice(std::chrono::microseconds(50));
            }
            if (round % 20 == 19) {
                WrappedLayout fresh(doc, unitMetrics());
                fresh.setWrap(wrap, 17);
                ASSERT_EQ(allLineStarts(layout, doc), allLineStarts(fresh, doc))
                    << "after round " << round << (wrap ? " wrapped" : " unwrapped");
                if (!wrap) {
                    ASSERT_EQ(layout.widestLine(), fresh.widestLine());
                }
            }
        }
    }
}

TEST(WrappedLayout, typingInALongWrappedParagraphReBreaksOnlyNearTheEdit) {
    std::string text;
    for (int i = 0; i < 20000; ++i) {
        text += "lorem ipsum dolor sit amet ";
    }
    Document doc;
    doc.load(std::string(text));
    WrappedLayout layout(doc, unitMetrics());
    layout.setWrap(true, 80);
    layout.formatAll();
    const Pos before = layout.knownLineCount();
    // One letter into a word in the middle: the lines of that stretch change, the
    // rest only move.
    layout.textChanged(doc.replace(270000, 270000, std::string_view("x")));
    EXPECT_FALSE(layout.hasPendingWork());
    EXPECT_TRUE(layout.isFormatted(0));
    WrappedLayout fresh(doc, unitMetrics());
    fresh.setWrap(true, 80);
    EXPECT_EQ(allLineStarts(layout, doc), allLineStarts(fresh, doc));
    EXPECT_NEAR(static_cast<double>(layout.knownLineCount()), static_cast<double>(before), 1.0);
}

// A paragraph longer than a slice's work is cut into pieces: each slice returns after a
// piece, the lines broken so far stand, and the finished lines are those a breaker run
// over the whole paragraph gives.
TEST(WrappedLayout, slicesCutAHugeParagraphIntoPiecesWithTheSameBreaks) {
    std::mt19937 random(5);
    std::string text = "short\r\n";
    for (int i = 0; i < 20000; ++i) {
        text.append(1 + random() % 11, static_cast<char>(0xB0 + random() % 4));
        text += (i % 97 == 0) ? "\t" : " ";
    }
    text += "\r\nlast";
    Document doc;
    doc.load(std::string(text));
    WrappedLayout layout(doc, unitMetrics());
    layout.setWrap(true, 50);
    layout.setWorkPerLook(4096);
    int slices = 0;
    while (layout.formatSlice(std::chrono::steady_clock::duration::zero())) {
        ++slices;
        ASSERT_LT(slices, 1000);
        if (slices == 3) {
            EXPECT_FALSE(layout.isFormatted(1)); // only a part of it is broken yet
            EXPECT_GT(layout.knownLineCount(), 3);
        }
    }
    EXPECT_GT(slices, 20); // the 100 KB paragraph took many 4 KB pieces

    // The expectation: the measuring breaker over the paragraph alone.
    const std::string_view para = doc.paragraph(1);
    const GlyphWidths measured = test::unitWidths(8, false);
    std::vector<Pos> expected = {0, doc.paragraphStart(1)};
    for (Pos s = 0;;) {
        s = nextLineStart(para, s, 50, measured);
        if (s >= static_cast<Pos>(para.size())) {
            break;
        }
        expected.push_back(doc.paragraphStart(1) + s);
    }
    expected.push_back(doc.paragraphStart(2));
    EXPECT_EQ(allLineStarts(layout, doc), expected);
}

// Edits that land in a paragraph only partly broken, or before or after it, while slices
// of a few bytes keep going: the lines must end as a fresh layout's.
TEST(WrappedLayout, editsAroundPartlyFormattedParagraphsKeepTheLinesOfAFreshLayout) {
    std::mt19937 random(31337);
    Document doc;
    std::string start;
    for (int i = 0; i < 12; ++i) {
        for (int w = 0; w < 60; ++w) {
            start += (w % 13 == 0) ? "\xDB\xDB\xDB\xDB\xDB\xDB\xDB\xDB\xDB " : "word ";
        }
        start += "\r\n";
    }
    doc.load(std::move(start));
    WrappedLayout layout(doc, unitMetrics());
    layout.setWrap(true, 23);
    layout.setWorkPerLook(40);
    const char* pieces[] = {"x", " ", "two words ", "\r\n", "", "\t", "\xB1\xB1\xB1"};
    for (int round = 0; round < 300; ++round) {
        layout.formatSlice(std::chrono::steady_clock::duration::zero());
        const Pos total = doc.charCount();
        const Pos a = static_cast<Pos>(random() % static_cast<unsigned>(total + 1));
        const Pos b =
            std::min(total, a + ((random() % 3 == 0) ? static_cast<Pos>(random() % 30) : 0));
        layout.textChanged(doc.replace(a, b, std::string_view(pieces[random() % 7])));
        if (round % 5 == 0) {
            layout.ensureFormatted(doc.paragraphAt(a));
        }
        if (round % 25 == 24) {
            WrappedLayout fresh(doc, unitMetrics());
            fresh.setWrap(true, 23);
            ASSERT_EQ(allLineStarts(layout, doc), allLineStarts(fresh, doc))
                << "after round " << round;
        }
    }
}

TEST(WrappedLayout, settingsChangesMarkEverythingForFormatting) {
    Document doc;
    doc.load("a\tb c d e f g h");
    WrappedLayout layout(doc, unitMetrics());
    layout.setWrap(true, 6);
    const Pos eightTab = layout.lineCount();
    layout.setTabStops(2);
    EXPECT_TRUE(layout.hasPendingWork());
    EXPECT_LT(layout.lineCount(), eightTab);
    layout.setGlyphMetrics(TableGlyphMetrics::uniform(3, 1, 0));
    EXPECT_TRUE(layout.hasPendingWork());
    EXPECT_GT(layout.lineCount(), eightTab);
}

} // namespace
} // namespace tavrel
