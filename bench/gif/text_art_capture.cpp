// Draws text art into a true-colour buffer, deterministically, without a font: what matters
// to the encoder is the structure of the pixels (long background runs, repeated glyph rows,
// solid block areas), not the letter shapes.
#include "text_art_capture.h"

#include <fstream>
#include <iterator>

namespace {

constexpr int kCellWidth = 8;
constexpr int kCellHeight = 16;
constexpr int kColumns = 80;

constexpr std::uint32_t kBackground = 0xFF00004A; // the editor's dark blue
constexpr std::uint32_t kText = 0xFFFFFFFF;
constexpr std::uint32_t kBlocks = 0xFF55FFFF;  // block-drawing characters
constexpr std::uint32_t kKeyword = 0xFFFFFF55; // every seventh line, as highlighted

bool glyphPixel(unsigned char c, int x, int y) {
    switch (c) {
    case 0x00:
    case ' ':
        return false;
    case 0xDB:
        return true;
    case 0xDC:
        return y >= kCellHeight / 2;
    case 0xDF:
        return y < kCellHeight / 2;
    case 0xDD:
        return x < kCellWidth / 2;
    case 0xDE:
        return x >= kCellWidth / 2;
    case 0xB0:
        return (x + y) % 4 == 0;
    case 0xB1:
        return (x + y) % 2 == 0;
    case 0xB2:
        return (x + y) % 4 != 0;
    default:
        break;
    }
    // Letters: a fixed pattern per character and row inside the glyph box.
    if (y < 3 || y > 13 || x == 0 || x == 7) {
        return false;
    }
    const std::uint32_t bits = (c * 0x45D9F3Bu) ^ (static_cast<std::uint32_t>(y) * 0x9E3779B9u);
    return ((bits >> (x + 9)) & 1) != 0;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\n') {
            lines.emplace_back();
        } else if (c != '\r') {
            lines.back().push_back(c);
        }
    }
    return lines;
}

std::string fallbackText() {
    std::string text;
    for (int line = 0; line < 200; ++line) {
        for (int i = 0; i < 78; ++i) {
            text.push_back(
                static_cast<char>((line * 7 + i * 13) % 5 == 0 ? ' ' : 0x21 + (i * line) % 90));
        }
        text.push_back('\n');
    }
    return text;
}

} // namespace

TextArtCapture makeTextArtCapture(const std::string& nfoPath, std::int64_t width,
                                  std::int64_t height) {
    TextArtCapture capture;
    capture.width = width;
    capture.height = height;
    capture.pixels.assign(static_cast<std::size_t>(width * height), kBackground);

    std::ifstream in(nfoPath, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    capture.source = nfoPath;
    if (text.empty()) {
        text = fallbackText();
        capture.source = "generated text (" + nfoPath + " could not be read)";
    }
    const std::vector<std::string> lines = linesOf(text);

    // Side by side panels of 80 columns, each showing the file from a later line, so the
    // whole screen is covered with art.
    const std::int64_t rows = (height + kCellHeight - 1) / kCellHeight;
    const std::int64_t columns = (width + kCellWidth - 1) / kCellWidth;
    for (std::int64_t row = 0; row < rows; ++row) {
        for (std::int64_t col = 0; col < columns; ++col) {
            const std::size_t line =
                static_cast<std::size_t>(row + (col / kColumns) * rows) % lines.size();
            const std::size_t at = static_cast<std::size_t>(col % kColumns);
            const unsigned char c =
                at < lines[line].size() ? static_cast<unsigned char>(lines[line][at]) : ' ';
            const std::uint32_t fg = c >= 0xB0 && c <= 0xDF ? kBlocks
                                     : line % 7 == 3        ? kKeyword
                                                            : kText;
            for (int y = 0; y < kCellHeight && row * kCellHeight + y < height; ++y) {
                for (int x = 0; x < kCellWidth && col * kCellWidth + x < width; ++x) {
                    if (glyphPixel(c, x, y)) {
                        capture.pixels[static_cast<std::size_t>((row * kCellHeight + y) * width +
                                                                col * kCellWidth + x)] = fg;
                    }
                }
            }
        }
    }
    return capture;
}
