// The virtual screen that ANSI art is drawn onto: rows of cells, each a code page 437 byte
// with a foreground and a background colour from the PC's sixteen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tavrel {

// Colour indexes in the order of the SGR codes (0 black, 1 red, 2 green, 3 brown/yellow,
// 4 blue, 5 magenta, 6 cyan, 7 light grey), 8-15 the bright ones in the same order.
inline constexpr std::uint8_t kAnsiDefaultForeground = 7;
inline constexpr std::uint8_t kAnsiDefaultBackground = 0;

// The VGA text mode's colour for `index` (0-15) as 0xRRGGBB.
[[nodiscard]] std::uint32_t ansiColourRgb(std::uint8_t index) noexcept;

struct AnsiCell {
    std::uint8_t byte = ' ';
    std::uint8_t foreground = kAnsiDefaultForeground;
    std::uint8_t background = kAnsiDefaultBackground;
    friend bool operator==(const AnsiCell&, const AnsiCell&) = default;
};

// A screen of a fixed width that grows downwards as rows are written, up to `maxRows`. Rows
// only moved through, never written, do not count: the screen ends with its last written row.
class AnsiScreen {
public:
    AnsiScreen(int width, std::size_t maxRows);

    [[nodiscard]] int width() const noexcept { return width_; }
    [[nodiscard]] std::size_t rows() const noexcept { return cells_.size() / width_; }
    [[nodiscard]] std::size_t maxRows() const noexcept { return maxRows_; }
    // True when the art went on below `maxRows` and that part was left out.
    [[nodiscard]] bool truncated() const noexcept { return truncated_; }
    [[nodiscard]] const AnsiCell& at(std::size_t row, int column) const {
        return cells_[row * width_ + column];
    }
    // The row's bytes, all `width` of them (unwritten cells are spaces).
    [[nodiscard]] std::string rowBytes(std::size_t row) const;

    // Writes one cell; a row at or past `maxRows` is dropped and marks the screen truncated.
    void put(std::size_t row, int column, const AnsiCell& cell);
    // Blanks columns [from, to) of `row` (rows not written yet stay unwritten).
    void blank(std::size_t row, int from, int to);
    // Blanks every cell from (row, column) on (`toEnd`) or up to and including it.
    void blankFrom(std::size_t row, int column);
    void blankUpTo(std::size_t row, int column);
    // Forgets every row: the screen is as new.
    void clear() noexcept { cells_.clear(); }

private:
    int width_;
    std::size_t maxRows_;
    bool truncated_ = false;
    std::vector<AnsiCell> cells_;
};

// The screen's rows as bytes for search and copy: one string per row, the trailing blanks
// (spaces and NULs) of each cut off.
[[nodiscard]] std::vector<std::string> screenLines(const AnsiScreen& screen);

} // namespace tavrel
