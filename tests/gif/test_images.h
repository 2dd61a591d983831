// Owned true-colour pixel buffers for the GIF tests, the reference cases and the fuzz target,
// handed to the library through the same borrowed view a QImage would give.
#pragma once

#include "gif/rgb_image.h"

#include <cstdint>
#include <vector>

namespace gif_check {

// 0xAARRGGBB, the word layout of the capture.
constexpr std::uint32_t argb(int r, int g, int b, int a = 0xFF) {
    return (static_cast<std::uint32_t>(a) << 24) | (static_cast<std::uint32_t>(r) << 16) |
           (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
}

class RgbBuffer {
public:
    // padWords extra words at the end of each row, as a real stride would have.
    RgbBuffer(std::int64_t width, std::int64_t height, std::int64_t padWords = 0,
              std::uint32_t fill = argb(0, 0, 0))
        : width_(width), height_(height), stride_(width + padWords),
          words_(static_cast<std::size_t>(stride_ * height), fill) {}

    void set(std::int64_t x, std::int64_t y, std::uint32_t pixel) {
        words_[static_cast<std::size_t>(y * stride_ + x)] = pixel;
    }
    [[nodiscard]] std::uint32_t at(std::int64_t x, std::int64_t y) const {
        return words_[static_cast<std::size_t>(y * stride_ + x)];
    }
    [[nodiscard]] std::int64_t width() const { return width_; }
    [[nodiscard]] std::int64_t height() const { return height_; }
    [[nodiscard]] tavrel::RgbImageView view() const {
        return {words_.data(), width_, height_,
                static_cast<std::ptrdiff_t>(stride_ * sizeof(std::uint32_t))};
    }

private:
    std::int64_t width_;
    std::int64_t height_;
    std::int64_t stride_;
    std::vector<std::uint32_t> words_;
};

// A small deterministic generator, so every run and the committed references agree.
class Lcg {
public:
    explicit Lcg(std::uint32_t seed) : state_(seed) {}
    std::uint32_t next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }

private:
    std::uint32_t state_;
};

} // namespace gif_check
