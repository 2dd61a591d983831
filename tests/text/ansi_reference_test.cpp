// Our ANSI screens against another renderer's: every case is drawn to PNG by ansilove and
// each of its 8 x 16 cells read back as the glyph's pixels and the paper's. The glyph shapes
// come from ansilove's own font (all 256 bytes drawn white on black), so fonts never matter:
// what is compared is the byte, its foreground and its background. Skips without ansilove.
#include "support/corpus.h"
#include "support/png_decoder.h"
#include "support/temp_folder.h"
#include "text/ansi_art.h"
#include "text/ansi_interpreter.h"

#include <gtest/gtest.h>

#include <array>
#include <bitset>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace tavrel {
namespace {

constexpr int kCellWidth = 8;
constexpr int kCellHeight = 16;
using GlyphMask = std::bitset<kCellWidth * kCellHeight>;

bool haveAnsilove() {
    return std::system("command -v ansilove >/dev/null 2>&1") == 0;
}

std::string quoted(const std::filesystem::path& path) {
    std::string out = "'";
    for (const char c : path.string()) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

// Draws `input` with ansilove (8-pixel cells, the VGA font) and reads the image back.
test::PngPixels ansilove(const std::filesystem::path& input, const std::string& flags) {
    const std::filesystem::path out = input.string() + ".png";
    const std::string command = "ansilove -q -b 8 -f 80x25 " + flags + " -o " + quoted(out) + " " +
                                quoted(input) + " >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::string error;
    const auto pixels = test::decodePng(test::readFile(out), error);
    EXPECT_TRUE(pixels) << error;
    return pixels.value_or(test::PngPixels{});
}

class AnsiReference : public ::testing::Test {
protected:
    void SetUp() override {
#ifdef _WIN32
        GTEST_SKIP() << "the reference renderer, ansilove, is a Linux program";
#endif
        if (!haveAnsilove()) {
            GTEST_SKIP() << "ansilove is not installed";
        }
        if (glyphs_.empty()) {
            loadGlyphs();
        }
    }

    // Every byte in white on black as a binary screen dump 16 cells wide: the ink of each
    // glyph in the reference's font.
    void loadGlyphs() {
        std::string dump;
        for (int byte = 0; byte < 256; ++byte) {
            dump += static_cast<char>(byte);
            dump += '\x0F';
        }
        const auto file = folder_.path() / "glyphs.bin";
        test::writeFile(file.string(), dump);
        const test::PngPixels image = ansilove(file, "-t bin -c 16");
        ASSERT_EQ(image.width, 16u * kCellWidth);
        ASSERT_EQ(image.height, 16u * kCellHeight);
        glyphs_.resize(256);
        for (int byte = 0; byte < 256; ++byte) {
            for (int y = 0; y < kCellHeight; ++y) {
                for (int x = 0; x < kCellWidth; ++x) {
                    glyphs_[byte][y * kCellWidth + x] =
                        image.at((byte % 16) * kCellWidth + x, (byte / 16) * kCellHeight + y) ==
                        0xFFFFFF;
                }
            }
        }
    }

    // Every cell whose pixels differ from our cell's glyph in our colours, described.
    static std::vector<std::string> differences(const AnsiScreen& ours,
                                                const test::PngPixels& theirs) {
        std::vector<std::string> found;
        // A record may ask for the 9-pixel VGA font, whose ninth column repeats the eighth
        // for the line-drawing bytes (192-223) and is paper for every other byte.
        const int cellWidth = theirs.width == std::uint32_t(ours.width() * 9) ? 9 : kCellWidth;
        if (theirs.width != std::uint32_t(ours.width() * cellWidth) ||
            theirs.height != ours.rows() * kCellHeight) {
            std::ostringstream size;
            size << "size: ours " << ours.width() << " x " << ours.rows() << " cells, theirs "
                 << theirs.width << " x " << theirs.height << " pixels";
            found.push_back(size.str());
            return found;
        }
        for (std::size_t row = 0; row < ours.rows(); ++row) {
            for (int column = 0; column < ours.width(); ++column) {
                const AnsiCell cell = ours.at(row, column);
                const GlyphMask& ink = glyphs_[cell.byte];
                std::uint32_t wrongInk = 0;
                std::uint32_t wrongPaper = 0;
                int wrong = 0;
                for (int y = 0; y < kCellHeight; ++y) {
                    for (int x = 0; x < cellWidth; ++x) {
                        const std::uint32_t pixel =
                            theirs.at(column * cellWidth + x, row * kCellHeight + y);
                        const bool isInk = x < kCellWidth ? ink[y * kCellWidth + x]
                                                          : cell.byte >= 192 && cell.byte <= 223 &&
                                                                ink[y * kCellWidth + 7];
                        const std::uint8_t index = isInk ? cell.foreground : cell.background;
                        if (pixel != ansiColourRgb(index)) {
                            ++wrong;
                            (isInk ? wrongInk : wrongPaper) = pixel;
                        }
                    }
                }
                if (wrong > 0 && found.size() < 20) {
                    std::ostringstream cellText;
                    cellText << "row " << row << " column " << column << ": ours byte "
                             << int(cell.byte) << " fg " << int(cell.foreground) << " bg "
                             << int(cell.background) << "; theirs has " << wrong
                             << " other pixels (ink " << std::hex << wrongInk << ", paper "
                             << wrongPaper << ")";
                    found.push_back(cellText.str());
                }
            }
        }
        return found;
    }

    test::TempFolder folder_;
    static inline std::vector<GlyphMask> glyphs_;
};

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) {
        out += line + "\n";
    }
    return out;
}

// A SAUCE record written field by field, independent of the reader.
std::string sauceRecord(std::uint16_t width, std::uint8_t flags) {
    std::string record = "SAUCE00";
    record += std::string("Generated").append(26, ' ');
    record += std::string("Tests").append(15, ' ');
    record += std::string("Tavrel").append(14, ' ');
    record += "20240101";
    record += std::string(4, '\0');                                  // file size
    record += "\x01\x01";                                            // character, ANSi
    record += std::string(1, char(width & 0xFF)) + char(width >> 8); // TInfo1
    record += std::string("\x01\x00\x00\x00\x00\x00", 6);            // TInfo2-4
    record += '\0';                                                  // comment lines
    record += static_cast<char>(flags);
    record += std::string("IBM VGA").append(15, '\0');
    return record;
}

std::string sgrCase(const std::string& extra) {
    std::string art;
    char glyph = 'A';
    for (const std::string bold : {"", "1;"}) {
        for (int fg = 30; fg <= 37; ++fg) {
            for (int bg = 40; bg <= 47; ++bg) {
                art += "\x1B[0;" + extra + bold + std::to_string(fg) + ";" + std::to_string(bg) +
                       "m" + glyph;
                glyph = glyph == 'Z' ? 'A' : char(glyph + 1);
            }
        }
    }
    return art;
}

struct GeneratedCase {
    const char* name;
    std::string art;
    bool ice;
};

std::vector<GeneratedCase> generatedCases() {
    return {
        {"every colour, plain and bold", sgrCase("") + "\x1B[0m\r\nend", false},
        {"blink without iCE colours keeps a dark background", sgrCase("5;"), false},
        {"blink with iCE colours brightens the background", sgrCase("5;"), true},
        {"reset, bold and inverse one after another",
         "\x1B[31;44ma\x1B[1mb\x1B[0mc\x1B[7;32;45md\x1B[0;1;7;33;41me\x1B[0mf\x1B[33mg"
         "\x1B[1;46mh\x1B[0;5;44mi\x1B[0m\r\nj",
         false},
        {"cursor moves past the top, left and bottom edges",
         "ab\x1B[9Ac\x1B[99Dd\x1B[Ae\x1B[3Bf\x1B[Bg\x1B[2Dh\x1B[1;1Hi\x1B[C\x1B[Cj"
         "\x1B[12;40fk\x1B[3Ao\x1B[2Ap\x1B[;7Hl\x1B[4;Hm\x1B[H\x1B[20Bn",
         false},
        {"a move past the right edge wraps the next glyph",
         "ab\x1B[200Cc\x1B[79Cd\x1B[3;75Hefghijkl\x1B[200Cm", false},
        {"a full-width line before CR LF leaves an empty row",
         std::string(80, 'x') + "\r\n" + std::string(79, 'y') +
             "\r\nz\nlf only\r\n\r\n\tq\r\na lone CR\ris no return",
         false},
        {"save and restore", "one\x1B[s\x1B[5;5Htwo\x1B[uthree\r\nfour\x1B[s\x1B[3Bfive\x1B[u6",
         false},
        {"clearing the screen starts it anew", "one\r\ntwo\r\nthree\x1B[2Jfour\x1B[3;3Hfive",
         false},
        {"control bytes other than the line ends are glyphs",
         std::string("\x01\x02\x03\x04\x07\x08\x0C\x0E\x0F\x10\x1F\x7F\xB0\xDB\xFE\xFF a\x1B b"
                     "\x1B[31mc\r\nd\x1A"
                     "after the end",
                     41),
         false},
    };
}

TEST_F(AnsiReference, generatedFilesDrawAsTheReferenceDrawsThem) {
    int index = 0;
    for (const GeneratedCase& c : generatedCases()) {
        SCOPED_TRACE(c.name);
        const auto file = folder_.path() / ("case" + std::to_string(index++) + ".ans");
        test::writeFile(file.string(), c.art);
        const AnsiScreen ours = interpretAnsi(c.art, {.width = 80, .iceColours = c.ice});
        EXPECT_EQ(joined(differences(ours, ansilove(file, c.ice ? "-i" : ""))), "");
    }
}

TEST_F(AnsiReference, sauceWidthOf160AndItsIceFlagDrawAsTheReferenceDrawsThem) {
    std::string art = "\x1B[5;41mX" + std::string(158, 'y') + "z" + "w\r\n";
    for (int column = 0; column < 160; column += 7) {
        art += "\x1B[" + std::to_string(30 + column % 8) + ";" + std::to_string(40 + column % 5) +
               "m" + std::to_string(column) + "\x1B[" + std::to_string(column + 1) + "C";
    }
    art += "\x1B[0m\r\n" + std::string(170, '\xDB') + "end";
    const std::string file = art + "\x1A" + sauceRecord(160, 1);
    const auto path = folder_.path() / "wide.ans";
    test::writeFile(path.string(), file);
    const AnsiArt ours = renderAnsiArt(file);
    ASSERT_EQ(ours.screen.width(), 160);
    EXPECT_EQ(joined(differences(ours.screen, ansilove(path, "-S"))), "");
}

TEST_F(AnsiReference, corpusArtDrawsAsTheReferenceDrawsIt) {
    int seen = 0;
    for (const auto& path : test::corpusFiles()) {
        if (path.extension() != ".ans") {
            continue;
        }
        SCOPED_TRACE(path.filename().string());
        ++seen;
        const AnsiArt ours = renderAnsiArt(test::readFile(path));
        EXPECT_EQ(joined(differences(ours.screen, ansilove(path, "-S"))), "");
    }
    if (seen == 0) {
        GTEST_SKIP() << "no .ans files in the corpus at " << test::corpusDir();
    }
}

} // namespace
} // namespace tavrel
