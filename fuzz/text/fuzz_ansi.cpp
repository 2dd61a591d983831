// Any bytes through the ANSI interpreter, at a width and colour mode taken from the first
// byte: it ends, stays within its cell limit, and every cell holds one of the sixteen colours.
#include "text/ansi_art.h"
#include "text/ansi_interpreter.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void check(const tavrel::AnsiScreen& screen, std::size_t maxCells) {
    const auto width = std::size_t(screen.width());
    if (screen.rows() > screen.maxRows() || screen.maxRows() * width > std::max(maxCells, width)) {
        std::abort();
    }
    for (std::size_t row = 0; row < screen.rows(); ++row) {
        for (int column = 0; column < screen.width(); ++column) {
            const tavrel::AnsiCell& cell = screen.at(row, column);
            if (cell.foreground > 15 || cell.background > 15) {
                std::abort();
            }
        }
    }
    const auto lines = tavrel::screenLines(screen);
    if (lines.size() != screen.rows()) {
        std::abort();
    }
    for (const auto& line : lines) {
        if (line.size() > std::size_t(screen.width())) {
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // A small screen keeps each run fast and reaches the row limit often.
    const std::size_t maxCells = 4096;
    const tavrel::AnsiOptions options{
        .width = 1 + (data[0] & 0x7F), .iceColours = (data[0] & 0x80) != 0, .maxCells = maxCells};
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const tavrel::AnsiScreen screen = tavrel::interpretAnsi(text, options);
    if (screen.width() != options.width) {
        std::abort();
    }
    check(screen, maxCells);
    const tavrel::AnsiArt art = tavrel::renderAnsiArt(text, {.maxCells = maxCells});
    check(art.screen, maxCells);
    return 0;
}
