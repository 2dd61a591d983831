// A GIF colour table (global or local): up to 256 RGB entries and the "optimized" flag that
// the file carries as its sort flag. Also bitsFor(), the table-size rule the format uses.
#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <optional>

namespace tavrel {

struct GifRgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    // The program stores colours as 0x00BBGGRR (red in the low byte).
    [[nodiscard]] static constexpr GifRgb fromColorRef(std::uint32_t bgr) noexcept {
        return {static_cast<std::uint8_t>(bgr & 0xFF), static_cast<std::uint8_t>((bgr >> 8) & 0xFF),
                static_cast<std::uint8_t>((bgr >> 16) & 0xFF)};
    }
    friend constexpr auto operator<=>(const GifRgb&, const GifRgb&) = default;
};

// Bits a table of n colours needs: 0 for none, otherwise the smallest b >= 1 with 2^b >= n.
[[nodiscard]] constexpr int bitsFor(std::int64_t n) noexcept {
    if (n <= 0) {
        return 0;
    }
    int b = 1;
    while ((std::int64_t{1} << b) < n) {
        ++b;
    }
    return b;
}

class GifColorTable {
public:
    static constexpr int kMaxColors = 256;

    GifColorTable() = default;
    GifColorTable(const GifColorTable&) = default;
    GifColorTable& operator=(const GifColorTable&) = default;

    [[nodiscard]] int count() const noexcept { return count_; }
    [[nodiscard]] bool empty() const noexcept { return count_ == 0; }
    // Index must be below count().
    [[nodiscard]] const GifRgb& operator[](int index) const noexcept { return entries_[index]; }

    // Appends a colour and returns its index; a 257th colour throws "Color table overflow".
    int add(GifRgb color);
    // Replaces an existing entry (index below count()).
    void set(int index, GifRgb color);
    void clear() noexcept;
    [[nodiscard]] std::optional<int> indexOf(GifRgb color) const noexcept;

    // "Ordered by importance": set only by the colour-table optimiser; every other change to
    // the table clears it, since the order it vouched for no longer holds.
    [[nodiscard]] bool optimized() const noexcept { return optimized_; }
    void setOptimized(bool optimized) noexcept { optimized_ = optimized; }

    friend bool operator==(const GifColorTable& a, const GifColorTable& b) noexcept;

private:
    std::array<GifRgb, kMaxColors> entries_{};
    int count_ = 0;
    bool optimized_ = false;
};

} // namespace tavrel
