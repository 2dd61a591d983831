// The interpreter where another renderer cannot tell (sequences it leaves out, clamps it does
// not make, limits): screens written out by hand, one row of "byte/fg/bg" text per case.
#include "text/ansi_art.h"
#include "text/ansi_interpreter.h"

#include <gtest/gtest.h>

#include <string>

namespace tavrel {
namespace {

// The first `columns` cells of each row as text: the byte itself, and the colours where
// they are not the defaults ("a" for a on grey/black, "a[1/4]" for red on blue).
std::string drawn(const AnsiScreen& screen, int columns) {
    std::string out;
    for (std::size_t row = 0; row < screen.rows(); ++row) {
        for (int column = 0; column < columns && column < screen.width(); ++column) {
            const AnsiCell& cell = screen.at(row, column);
            out += static_cast<char>(cell.byte);
            if (cell.foreground != 7 || cell.background != 0) {
                out += "[" + std::to_string(cell.foreground) + "/" +
                       std::to_string(cell.background) + "]";
            }
        }
        out += "|";
    }
    return out;
}

TEST(AnsiInterpreterTest, drawsWhatArtRenderersLeaveOutAsTheStandardSays) {
    struct Case {
        const char* name;
        std::string art;
        int columns;
        std::string expected;
    };
    const Case cases[] = {
        {"39 and 49 give the default colours", "\x1B[31;44ma\x1B[39mb\x1B[49mc", 3,
         "a[1/4]b[7/4]c|"},
        {"an empty SGR resets", "\x1B[1;31ma\x1B[mb", 2, "a[9/0]b|"},
        {"22, 25 and 27 undo bold, blink and inverse", "\x1B[1;5;7;32;41ma\x1B[22;25;27mb", 2,
         "a[9/2]b[2/1]|"},
        {"K erases to the end of the line", "abcdef\x1B[3D\x1B[KX", 6, "abcX  |"},
        {"1K and 2K erase up to the cursor and the whole line",
         "abcdef\x1B[3D\x1B[1KX\r\nabcdef\x1B[2KY", 7, "   Xef |      Y|"},
        {"J erases to the end, 1J up to the cursor",
         "abc\r\ndef\r\nghi\x1B[2;2H\x1B[J\r\nx\x1B[1;2H\x1B[1Jy", 3, " yc|d  |x  |"},
        {"H clamps to the screen and reads 0 as 1", "\x1B[0;0Ha\x1B[1;500Hb", 80,
         "a" + std::string(78, ' ') + "b|"},
        {"tab goes to the next multiple of eight", "ab\tc\x1B[1;78H\td", 80,
         "ab      c" + std::string(70, ' ') + "d|"},
        {"unknown, private and cut sequences are skipped", "a\x1B[?7hb\x1B[1;2tc\x1B[0 qd\x1B[", 4,
         "abcd|"},
        {"a byte that cannot belong to a sequence ends it and is text",
         "a\x1B[31\x01"
         "b",
         3,
         "a\x01"
         "b|"},
        {"a lone ESC is dropped",
         "a\x1B"
         "b",
         2, "ab|"},
        {"Ctrl+Z ends the text",
         "a\x1A"
         "b",
         2, "a |"},
        {"parameters past sixteen still count", "\x1B[1;1;1;1;1;1;1;1;1;1;1;1;1;1;1;1;0;32ma", 1,
         "a[2/0]|"},
        {"a huge parameter saturates", "\x1B[99999999999999999999Ca\x1B[99999999999999999999Db", 2,
         "  |b |"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(drawn(interpretAnsi(c.art), c.columns), c.expected);
    }
}

TEST(AnsiInterpreterTest, hugeMovesAndRowCountsStayWithinTheCellLimit) {
    const AnsiOptions small{.width = 10, .maxCells = 50}; // 5 rows
    const AnsiScreen moved = interpretAnsi("\x1B[999999Ba\x1B[99999;99999Hb", small);
    const std::string blankRow(10, ' ');
    EXPECT_EQ(drawn(moved, 10),
              blankRow + "|" + blankRow + "|" + blankRow + "|" + blankRow + "|a        b|");
    EXPECT_FALSE(moved.truncated());

    const AnsiScreen tall = interpretAnsi(std::string(100, '\n') + "x\r\n" + "y", small);
    EXPECT_EQ(tall.rows(), 0u);
    EXPECT_TRUE(tall.truncated());

    const AnsiScreen wide = interpretAnsi("x", {.width = 1 << 30});
    EXPECT_EQ(wide.width(), kAnsiMaxWidth);
}

TEST(AnsiInterpreterTest, screenLinesAreTheRowsWithoutTrailingBlanks) {
    const AnsiScreen screen = interpretAnsi("ab  \r\n\r\n\x1B[5C\x1B[31mx\x00\x00", {});
    EXPECT_EQ(screenLines(screen), (std::vector<std::string>{"ab", "", "     x"}));
}

TEST(AnsiInterpreterTest, aRecordGivesTheWidthAndIceColours) {
    std::string record = "SAUCE00" + std::string(83, ' ') + std::string(4, '\0') + "\x01\x01";
    record += std::string("\x28\x00\x00\x00\x00\x00\x00\x00\x00\x01", 10);
    record += std::string(22, '\0');
    const AnsiArt art = renderAnsiArt(std::string(41, 'x') + "\x1B[5;41my\x1A" + record);
    ASSERT_TRUE(art.sauce);
    EXPECT_EQ(art.screen.width(), 40);
    EXPECT_EQ(drawn(art.screen, 2), "xx|xy[7/9]|");
}

TEST(AnsiArtTest, detectsArtByRecordNameOrSequences) {
    std::string record = "SAUCE00" + std::string(83, ' ') + std::string(4, '\0');
    const std::string ansiRecord = record + "\x01\x01" + std::string(32, '\0');
    const std::string asciiRecord = record + std::string("\x01\x00", 2) + std::string(32, '\0');
    struct Case {
        const char* name;
        std::string fileName;
        std::string file;
        bool ansi;
    };
    const Case cases[] = {
        {"plain text", "a.nfo", "Hello\r\n", false},
        {"name", "ART.ANS", "Hello", true},
        {"record of type ANSi", "a.txt", "x\x1A" + ansiRecord, true},
        {"record of type ASCII", "a.txt", "x\x1A" + asciiRecord, false},
        {"colour sequence", "a.nfo", "x\x1B[1;31mred", true},
        {"cursor sequence", "a", "\x1B[12C", true},
        {"save sequence", "a", "\x1B[s", true},
        {"a terminal's private mode is not art's", "a", "\x1B[?25h", false},
        {"ESC alone", "a", "\x1B", false},
        {"ESC [ at the very end", "a", "x\x1B[", false},
        {"a sequence after the record's end-of-file mark", "a", "x\x1A\x1B[0m" + asciiRecord,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(isAnsiArt(c.fileName, c.file), c.ansi);
    }
}

} // namespace
} // namespace tavrel
