// Pagination on a printer of plain numbers. Expected figures are worked out by hand from
// the fake printer: 100 dpi, 850 x 1100 pixels, glyphs 10 pixels wide, "A" 10 high, so with
// the default margins a column is 850 - 75 - 50 = 725 pixels (72 glyphs) wide and holds
// trunc((1100 - 150) / 15) = 63 lines at one and a half times the letter height.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "fake_printer.h"
#include "print/column_lines.h"
#include "print/print_layout.h"
#include "print/printer_choice.h"

namespace tavrel {
namespace {

using test::FakePrinter;

constexpr Pos kLines = 63;

std::string numberedLines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            text += "\r\n";
        }
        text += "line " + std::to_string(i);
    }
    return text;
}

TEST(PrintLayout, ExactlyOneColumnOfLinesIsOnePageAndOneMoreIsTwo) {
    FakePrinter printer;
    PrintLayout layout(printer);
    layout.setText(numberedLines(kLines));
    EXPECT_EQ(layout.linesPerColumn(), kLines);
    EXPECT_EQ(layout.pageCount(), 1);
    layout.setText(numberedLines(kLines + 1));
    EXPECT_EQ(layout.pageCount(), 2);
    EXPECT_EQ(layout.lineOfSlot(kLines), kLines);
    EXPECT_EQ(layout.lineOfSlot(kLines + 1), -1);
}

TEST(PrintLayout, EmptyTextStillHasOnePage) {
    FakePrinter printer;
    PrintLayout layout(printer);
    layout.setText("");
    EXPECT_EQ(layout.pageCount(), 1);
    EXPECT_EQ(layout.displayLineCount(), 1);
}

TEST(PrintLayout, FormFeedOpeningAParagraphStartsANewPageAndIsNotPrinted) {
    FakePrinter printer;
    PrintLayout layout(printer);
    layout.setText("first\r\n\fsecond\r\nthird");
    EXPECT_EQ(layout.pageCount(), 2);
    EXPECT_EQ(layout.text().paragraph(1), "second");
    EXPECT_EQ(layout.lineOfSlot(0), 0);
    for (Pos slot = 1; slot < kLines; ++slot) {
        EXPECT_EQ(layout.lineOfSlot(slot), -1) << slot;
    }
    EXPECT_EQ(layout.lineOfSlot(kLines), 1);
    EXPECT_EQ(layout.lineOfSlot(kLines + 1), 2);
    EXPECT_EQ(layout.lineOfSlot(kLines + 2), -1);
    ASSERT_EQ(layout.forcedBreaks().size(), 1U);
    EXPECT_EQ(layout.forcedBreaks()[0].blanks, kLines - 1);
}

TEST(PrintLayout, FormFeedAtTheVeryStartMakesTheFirstPageBlank) {
    FakePrinter printer;
    PrintLayout layout(printer);
    layout.setText("\ftext");
    EXPECT_EQ(layout.pageCount(), 2);
    EXPECT_EQ(layout.lineOfSlot(0), -1);
    EXPECT_EQ(layout.lineOfSlot(kLines), 0);
    EXPECT_EQ(layout.text().paragraph(0), "text");
}

TEST(PrintLayout, FormFeedInsideAParagraphPrintsAsACharacter) {
    FakePrinter printer;
    PrintLayout layout(printer);
    layout.setText("a\fb\r\nc");
    EXPECT_EQ(layout.pageCount(), 1);
    EXPECT_EQ(layout.text().paragraph(0), "a\fb");
    EXPECT_TRUE(layout.forcedBreaks().empty());
}

TEST(PrintLayout, FormFeedWithTwoColumnsStartsTheNextColumn) {
    FakePrinter printer;
    PrintLayout layout(printer);
    PrintSettings s;
    s.columns = 2;
    layout.setSettings(s);
    layout.setText("a\r\n\fb\r\n\fc");
    // b starts column 2 of page 1, c then needs column 1 of page 2.
    EXPECT_EQ(layout.lineOfSlot(kLines), 1);
    EXPECT_EQ(layout.lineOfSlot(2 * kLines), 2);
    EXPECT_EQ(layout.pageCount(), 2);
}

TEST(PrintLayout, LongLinesWrapAtTheColumnWithoutTrailingBlanks) {
    FakePrinter printer;
    PrintLayout layout(printer);
    std::string para;
    for (int i = 0; i < 200; ++i) {
        para += "abcd ";
    }
    layout.setText(para);
    // 14 words of five cells fill 70 of 72 cells; 200 words make 15 lines.
    ASSERT_EQ(layout.displayLineCount(), 15);
    const auto lines = columnLines(layout, 0, 0, 0, kLines - 1, 75, 15);
    ASSERT_EQ(lines.size(), 15U);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        EXPECT_EQ(lines[i].start, static_cast<Pos>(i * 70));
        EXPECT_EQ(lines[i].stop - lines[i].start, 69) << i; // the space after is not drawn
    }
    // The paragraph's last line keeps what it ends with.
    EXPECT_EQ(lines.back().stop - lines.back().start, 20);
    EXPECT_DOUBLE_EQ(lines[3].top, 75 + 3 * 15);
}

TEST(PrintLayout, WrappingOffKeepsOneLinePerParagraph) {
    FakePrinter printer;
    PrintLayout layout(printer);
    PrintSettings s;
    s.wordWrap = false;
    layout.setSettings(s);
    layout.setText(std::string(1000, 'x'));
    EXPECT_EQ(layout.displayLineCount(), 1);
}

TEST(PrintLayout, LetterOfFiftyPixelsGivesAPitchOfSeventyFive) {
    FakePrinter printer;
    printer.letter = 50;
    PrintLayout layout(printer);
    layout.setText("x");
    EXPECT_EQ(layout.linePitch(), 75);
    EXPECT_DOUBLE_EQ(layout.exactLinePitch(), 75.0);
    // trunc(950 / 75) = 12 lines a column.
    EXPECT_EQ(layout.linesPerColumn(), 12);
}

TEST(PrintLayout, PitchInInchesIsRoundedForPaginationButKeptExactForPaper) {
    FakePrinter printer;
    PrintLayout layout(printer);
    PrintSettings s;
    s.lineSpacing = 0.125; // 12.5 pixels: 12 rounded to even
    layout.setSettings(s);
    layout.setText("x");
    EXPECT_EQ(layout.linePitch(), 12);
    EXPECT_DOUBLE_EQ(layout.exactLinePitch(), 12.5);
    EXPECT_EQ(layout.linesPerColumn(), 950 / 12);
}

TEST(PrintLayout, MarginsLargerThanThePaperLeaveOneLinePerColumn) {
    FakePrinter printer;
    PrintLayout layout(printer);
    PrintSettings s;
    s.marginTop = 8;
    s.marginBottom = 8;
    s.marginLeft = 6;
    s.marginRight = 6;
    layout.setSettings(s);
    layout.setText("ab\r\ncd");
    EXPECT_EQ(layout.linesPerColumn(), 1);
    EXPECT_LT(layout.columnWidth(), 0);
    // A column narrower than a glyph still shows every character, one a line.
    EXPECT_EQ(layout.displayLineCount(), 4);
    EXPECT_EQ(layout.pageCount(), 4);
}

// Hugely negative margins (a damaged settings file) once made the lines per column
// overflow, and the page count with it.
TEST(PrintLayout, AbsurdMarginsKeepThePageArithmeticWhole) {
    FakePrinter printer;
    PrintLayout layout(printer);
    PrintSettings s;
    s.marginTop = -1e15;
    s.marginBottom = -1e15;
    s.columns = 10;
    layout.setSettings(s);
    layout.setText("ab\r\ncd");
    EXPECT_GE(layout.linesPerColumn(), 1);
    EXPECT_LE(layout.linesPerColumn(), 1000000000);
    EXPECT_EQ(layout.pageCount(), 1);
}

// A guide dragged past the sheet, or a damaged settings file, once printed 67 of 100 rows
// or an empty page: margins are printed on the sheet, leaving room for a line at least.
TEST(PrintLayout, MarginsOffTheSheetStillPrintEveryLine) {
    struct Case {
        double top, bottom;
        Pos linesPerColumn;
        std::int64_t textTop;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const Case& c :
         {Case{-3.77, 0.75, 68, 0}, Case{0.75, -1e300, 68, 75}, Case{-1000, -1000, 73, 0},
          Case{nan, 0.75, 68, 0}, Case{1e300, 0.75, 1, 1085}, Case{0.75, 1e300, 1, 75}}) {
        SCOPED_TRACE(std::to_string(c.top) + " / " + std::to_string(c.bottom));
        FakePrinter printer;
        PrintLayout layout(printer);
        PrintSettings s;
        s.marginTop = c.top;
        s.marginBottom = c.bottom;
        layout.setSettings(s);
        layout.setText(numberedLines(100));
        EXPECT_EQ(layout.linesPerColumn(), c.linesPerColumn);
        EXPECT_EQ(layout.textTop(), c.textTop);
        EXPECT_EQ(layout.pageCount(), (100 + c.linesPerColumn - 1) / c.linesPerColumn);
        EXPECT_EQ(layout.lineOfSlot(99), 99); // the last row has its place
    }
}

TEST(PrintLayout, ColumnWidthAndPitchForOneToTenColumns) {
    for (int c = 1; c <= 10; ++c) {
        FakePrinter printer;
        PrintLayout layout(printer);
        PrintSettings s;
        s.columns = c;
        layout.setSettings(s);
        layout.setText("x");
        // 725 pixels of text area, 50-pixel gutters between the columns.
        const std::int64_t width = (725 - (c - 1) * 50) / c;
        const std::int64_t pitch = (725 + 50) / c;
        EXPECT_EQ(layout.columnWidth(), width) << c;
        EXPECT_EQ(layout.columnPitch(), pitch) << c;
        EXPECT_EQ(layout.columnLeft(c - 1), 75 + (c - 1) * pitch) << c;
        // The last column's right edge stays within a pixel per column of the margin.
        EXPECT_LE(layout.columnLeft(c - 1) + width, 800) << c;
        EXPECT_GE(layout.columnLeft(c - 1) + width, 800 - c) << c;
    }
}

TEST(PrintLayout, ColumnsBelowOneCountAsOne) {
    FakePrinter printer;
    PrintLayout layout(printer);
    PrintSettings s;
    s.columns = -3;
    layout.setSettings(s);
    layout.setText(numberedLines(kLines + 1));
    EXPECT_EQ(layout.columnWidth(), 725);
    EXPECT_EQ(layout.pageCount(), 2);
}

TEST(PrintLayout, MoreColumnsFitMoreLinesOnAPage) {
    FakePrinter printer;
    PrintLayout layout(printer);
    layout.setText(numberedLines(3 * kLines));
    EXPECT_EQ(layout.pageCount(), 3);
    PrintSettings s;
    s.columns = 3;
    layout.setSettings(s);
    EXPECT_EQ(layout.pageCount(), 1);
    const auto third = columnLines(layout, 0, 2, 0, kLines - 1, 0, 1);
    ASSERT_EQ(third.size(), static_cast<std::size_t>(kLines));
    EXPECT_EQ(third.front().line, 2 * kLines);
}

TEST(PrintLayout, VerticalChangesRepaginateWithoutRebreaking) {
    FakePrinter printer;
    PrintLayout layout(printer);
    int formats = 0;
    layout.setOnFormat([&] { ++formats; });
    layout.setText(numberedLines(100));
    EXPECT_EQ(layout.pageCount(), 2);
    EXPECT_EQ(formats, 1);
    PrintSettings s = layout.settings();
    s.marginTop = 0.25; // (1100 - 100) / 15 = 66 lines
    layout.setSettings(s);
    EXPECT_EQ(layout.linesPerColumn(), 66);
    EXPECT_EQ(formats, 1);
    s.marginLeft = 1.0;
    layout.setSettings(s);
    EXPECT_EQ(layout.columnWidth(), 850 - 100 - 50);
    EXPECT_EQ(formats, 2);
}

TEST(PrintLayout, AnotherPaperSizeLaysOutAgain) {
    FakePrinter printer;
    PrintLayout layout(printer);
    layout.setText(numberedLines(100));
    EXPECT_EQ(layout.pageCount(), 2);
    printer.m.paperHeight = 2200; // trunc(2050 / 15) = 136 lines
    EXPECT_EQ(layout.linesPerColumn(), 136);
    EXPECT_EQ(layout.pageCount(), 1);
}

TEST(PrintLayout, LineNumbersCountDisplayLinesFromTheFirstNumber) {
    EXPECT_EQ(lineNumberText(0, 1), "1: ");
    EXPECT_EQ(lineNumberText(41, 1), "42: ");
    FakePrinter printer;
    GlyphWidths widths = GlyphWidths::from(printer.glyphMetrics(), 8);
    EXPECT_EQ(runWidth("42: ", widths), 40);
    EXPECT_EQ(runWidth("a\tb", widths), 90); // tab to 80, then one glyph
}

// Slots walked one by one, as a person would fill the paper: each form-feed paragraph
// moves to the start of the next column (a whole blank column when already at one).
TEST(PrintLayout, SlotsMatchAPlainWalkOverRandomFormFeeds) {
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        FakePrinter printer;
        printer.letter = 100 + static_cast<int>(random() % 400); // few lines a column
        PrintLayout layout(printer);
        PrintSettings s;
        s.columns = 1 + static_cast<int>(random() % 3);
        s.wordWrap = false;
        layout.setSettings(s);
        const int paragraphs = 1 + static_cast<int>(random() % 40);
        std::string text;
        std::vector<bool> breaks;
        for (int p = 0; p < paragraphs; ++p) {
            const bool ff = random() % 4 == 0;
            breaks.push_back(ff);
            text += (p > 0 ? "\r\n" : "") + std::string(ff ? "\f" : "") + "p";
        }
        layout.setText(text);
        const Pos rows = layout.linesPerColumn();
        // Independently: trunc(950 / (1.5 * letter)) rows.
        ASSERT_EQ(rows,
                  std::max<Pos>(1, 950 / static_cast<Pos>(std::nearbyint(1.5 * printer.letter))));
        std::vector<Pos> expected; // slot -> line, -1 for blank
        for (int p = 0; p < paragraphs; ++p) {
            if (breaks[static_cast<std::size_t>(p)]) {
                const Pos pad = rows - static_cast<Pos>(expected.size()) % rows;
                expected.insert(expected.end(), static_cast<std::size_t>(pad), -1);
            }
            expected.push_back(p);
        }
        const Pos perPage = rows * s.columns;
        const Pos pages = (static_cast<Pos>(expected.size()) + perPage - 1) / perPage;
        ASSERT_EQ(layout.pageCount(), pages) << round;
        for (Pos slot = 0; slot < pages * perPage + 3; ++slot) {
            const Pos want = slot < static_cast<Pos>(expected.size())
                                 ? expected[static_cast<std::size_t>(slot)]
                                 : -1;
            ASSERT_EQ(layout.lineOfSlot(slot), want) << "round " << round << " slot " << slot;
        }
    }
}

TEST(PrinterChoice, SavedIndexBeyondThePrintersFallsBackToTheFirst) {
    EXPECT_EQ(printerIndexOrFirst(7, 3), 0);
    EXPECT_EQ(printerIndexOrFirst(2, 3), 2);
    EXPECT_EQ(printerIndexOrFirst(3, 3), 0);
    EXPECT_EQ(printerIndexOrFirst(-1, 3), 0);
    EXPECT_EQ(printerIndexOrFirst(0, 0), -1);
}

} // namespace
} // namespace tavrel
