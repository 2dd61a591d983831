// The cells of an ANSI screen, kept row after row in one vector that grows as the art goes
// down, and the palette they are shown in.
#include "text/ansi_screen.h"

#include <algorithm>
#include <array>

namespace tavrel {

std::uint32_t ansiColourRgb(std::uint8_t index) noexcept {
    static constexpr std::array<std::uint32_t, 16> kPalette = {
        0x000000, 0xAA0000, 0x00AA00, 0xAA5500, 0x0000AA, 0xAA00AA, 0x00AAAA, 0xAAAAAA,
        0x555555, 0xFF5555, 0x55FF55, 0xFFFF55, 0x5555FF, 0xFF55FF, 0x55FFFF, 0xFFFFFF};
    return kPalette[index & 15];
}

AnsiScreen::AnsiScreen(int width, std::size_t maxRows)
    : width_(std::max(width, 1)), maxRows_(std::max<std::size_t>(maxRows, 1)) {}

std::string AnsiScreen::rowBytes(std::size_t row) const {
    std::string bytes(static_cast<std::size_t>(width_), ' ');
    for (int column = 0; column < width_; ++column) {
        bytes[static_cast<std::size_t>(column)] = static_cast<char>(at(row, column).byte);
    }
    return bytes;
}

void AnsiScreen::put(std::size_t row, int column, const AnsiCell& cell) {
    if (row >= maxRows_ || column < 0 || column >= width_) {
        truncated_ = truncated_ || row >= maxRows_;
        return;
    }
    if (row >= rows()) {
        cells_.resize((row + 1) * static_cast<std::size_t>(width_));
    }
    cells_[row * width_ + column] = cell;
}

void AnsiScreen::blank(std::size_t row, int from, int to) {
    if (row >= rows()) {
        return;
    }
    from = std::clamp(from, 0, width_);
    to = std::clamp(to, from, width_);
    std::fill(cells_.begin() + static_cast<std::ptrdiff_t>(row * width_ + from),
              cells_.begin() + static_cast<std::ptrdiff_t>(row * width_ + to), AnsiCell{});
}

void AnsiScreen::blankFrom(std::size_t row, int column) {
    if (row >= rows()) {
        return;
    }
    blank(row, column, width_);
    cells_.resize((row + 1) * static_cast<std::size_t>(width_));
}

void AnsiScreen::blankUpTo(std::size_t row, int column) {
    for (std::size_t above = 0; above < row && above < rows(); ++above) {
        blank(above, 0, width_);
    }
    blank(row, 0, column + 1);
}

std::vector<std::string> screenLines(const AnsiScreen& screen) {
    std::vector<std::string> lines;
    lines.reserve(screen.rows());
    for (std::size_t row = 0; row < screen.rows(); ++row) {
        std::string line = screen.rowBytes(row);
        line.erase(line.find_last_not_of(std::string_view(" \0", 2)) + 1);
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace tavrel
