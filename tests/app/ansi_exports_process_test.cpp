// ANSI art outside the window, run as the built program: --export-png, --export-gif,
// --thumbnail and the print path (--export-pdf, read back through poppler's pdftoppm) draw its
// cells in their colours, and --cat writes them as the terminal's SGR sequences. The colours are
// the VGA palette's and the sequences the terminal's own codes, both written here by hand.
#include "program_run.h"
#include "support/gif_decoder.h"
#include "support/png_decoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <span>
#include <string>

namespace tavrel::test {
namespace {

// Bright yellow on blue, then a default grey C followed by two green blanks.
const std::string kArt = "\x1B[1;33;44mAB\x1B[0m\r\nC\x1B[42m  \x1B[0m";
const std::set<std::uint32_t> kArtColours{0xFFFF55, 0x0000AA, 0x00AA00};
// The same in GIF's web palette, each channel at level (value + 3) div 51 of 51 steps.
const std::set<std::uint32_t> kGifArtColours{0xFFFF33, 0x000099, 0x009900};

std::set<std::uint32_t> pngColours(const std::string& file) {
    std::string error;
    const auto pixels = decodePng(readFile(file), error);
    EXPECT_TRUE(pixels) << file << ": " << error;
    return pixels ? std::set<std::uint32_t>(pixels->rgb.begin(), pixels->rgb.end())
                  : std::set<std::uint32_t>{};
}

std::set<std::uint32_t> gifColours(const std::string& file) {
    const std::string bytes = readFile(file);
    const gif_check::File gif = gif_check::decode(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    std::set<std::uint32_t> colours;
    for (const gif_check::Image& image : gif.images) {
        for (std::size_t pixel = 0; pixel < image.indices.size(); ++pixel) {
            const gif_check::Rgb c = gif.colorAt(image, pixel);
            colours.insert((std::uint32_t(c.r) << 16) | (std::uint32_t(c.g) << 8) | c.b);
        }
    }
    return colours;
}

TEST(AnsiExports, imagesAndPrintShowEachCellInItsColours) {
    TempFolder folder;
    writeFile(folder / "rows.ans", kArt);
    writeFile(folder / "plain.nfo", "AB\r\nC  ");
    for (const char* name : {"rows.ans", "plain.nfo"}) {
        SCOPED_TRACE(name);
        const bool art = std::string(name) == "rows.ans";
        const std::string file = quoted(folder / name);
        ASSERT_EQ(runProgram(folder, "--export-png out.png " + file).status, 0);
        ASSERT_EQ(runProgram(folder, "--export-gif out.gif " + file).status, 0);
        ASSERT_EQ(runProgram(folder, "--export-pdf out.pdf " + file).status, 0);
        ASSERT_EQ(runProgram(folder, "--thumbnail 256 " + file + " thumb.png").status, 0);
        std::set<std::uint32_t> printed;
        if (std::system(("pdftoppm -r 150 -png -singlefile " + quoted(folder / "out.pdf") + " " +
                         quoted(folder / "page") + " >/dev/null 2>&1")
                            .c_str()) == 0) {
            printed = pngColours(folder / "page.png");
        }
        const std::set<std::uint32_t> png = pngColours(folder / "out.png");
        const std::set<std::uint32_t> thumbnail = pngColours(folder / "thumb.png");
        const std::set<std::uint32_t> gif = gifColours(folder / "out.gif");
        for (const std::uint32_t colour : kGifArtColours) {
            EXPECT_EQ(gif.count(colour), art ? 1u : 0u) << std::hex << colour;
        }
        for (const std::uint32_t colour : kArtColours) {
            EXPECT_EQ(png.count(colour), art ? 1u : 0u) << std::hex << colour;
            EXPECT_EQ(thumbnail.count(colour), art ? 1u : 0u) << std::hex << colour;
            if (std::system("command -v pdftoppm >/dev/null") == 0) {
                EXPECT_EQ(printed.count(colour), art ? 1u : 0u) << std::hex << colour;
            }
        }
    }
}

TEST(AnsiExports, catWritesTheCellsColoursAsTheTerminalsSequences) {
    TempFolder folder;
    writeFile(folder / "rows.ans", kArt);
    const ProgramRun run = runProgram(folder, "--cat rows.ans");
    ASSERT_EQ(run.status, 0) << run.err;
    // 1;33 is bright yellow (93), 44 blue, the reset grey on black (37;40), 42 green; every
    // row ends with the colours reset.
    EXPECT_EQ(run.out, "\x1B[0;93;44mAB\x1B[0m\r\n\x1B[0;37;40mC\x1B[0;37;42m  \x1B[0m");
    const ProgramRun piped = runProgram(folder, "--cat -", "cat rows.ans |");
    EXPECT_EQ(piped.out, run.out);
}

} // namespace
} // namespace tavrel::test
