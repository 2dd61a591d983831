// The GIF image model: a logical screen with its global colour table and an ordered list of
// frames, each with its own pixels (one colour index per pixel) and optional local table.
// Assigning a true-colour capture, setting the background colour, optimising the tables and
// encoding are the operations the image export performs, in that order.
#pragma once

#include "gif/color_table.h"
#include "gif/rgb_image.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

namespace tavrel {

// Width and height are stored as 16-bit fields in the file; larger images cannot be written.
inline constexpr std::int64_t kGifMaxDimension = 65535;

struct GifScreen {
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint8_t backgroundIndex = 0;
    std::uint8_t aspectRatio = 0;
    GifColorTable globalTable;
};

class GifFrame {
public:
    // A frame of width x height pixels, all index 0, at (left, top) on the screen. Throws
    // GifError when the frame cannot be expressed in a GIF file (a side above 65535 pixels).
    GifFrame(std::int64_t width, std::int64_t height, std::int64_t left = 0, std::int64_t top = 0);
    GifFrame(const GifFrame&) = default;
    GifFrame& operator=(const GifFrame&) = default;
    GifFrame(GifFrame&&) noexcept = default;
    GifFrame& operator=(GifFrame&&) noexcept = default;

    [[nodiscard]] std::uint16_t left() const noexcept { return left_; }
    [[nodiscard]] std::uint16_t top() const noexcept { return top_; }
    [[nodiscard]] std::uint16_t width() const noexcept { return width_; }
    [[nodiscard]] std::uint16_t height() const noexcept { return height_; }
    [[nodiscard]] bool empty() const noexcept { return pixels_.empty(); }

    // Rows top to bottom, each left to right.
    [[nodiscard]] std::span<std::uint8_t> pixels() noexcept { return pixels_; }
    [[nodiscard]] std::span<const std::uint8_t> pixels() const noexcept { return pixels_; }

    GifColorTable& localTable() noexcept { return localTable_; }
    [[nodiscard]] const GifColorTable& localTable() const noexcept { return localTable_; }

private:
    std::uint16_t left_ = 0;
    std::uint16_t top_ = 0;
    std::uint16_t width_ = 0;
    std::uint16_t height_ = 0;
    GifColorTable localTable_;
    std::vector<std::uint8_t> pixels_;
};

class GifPicture {
public:
    // Receives the library's warnings ("Color not in color table" from the optimiser).
    using WarningHandler = std::function<void(const std::string& message)>;

    GifPicture() = default;
    GifPicture(const GifPicture&) = default;
    GifPicture& operator=(const GifPicture&) = default;
    GifPicture(GifPicture&&) noexcept = default;
    GifPicture& operator=(GifPicture&&) noexcept = default;

    [[nodiscard]] GifScreen& screen() noexcept { return screen_; }
    [[nodiscard]] const GifScreen& screen() const noexcept { return screen_; }

    [[nodiscard]] std::size_t frameCount() const noexcept { return frames_.size(); }
    [[nodiscard]] GifFrame& frame(std::size_t index) { return frames_.at(index); }
    [[nodiscard]] const GifFrame& frame(std::size_t index) const { return frames_.at(index); }
    // Appends a frame and grows the logical screen to the frame's right and bottom edge.
    void addFrame(GifFrame frame);
    // Removes every frame and resets the screen (size, background, global table).
    void clear() noexcept;

    // Replaces the image by one frame made from a true-colour capture: each pixel is reduced
    // to the web palette, which becomes the frame's local table; the screen takes its size.
    void assign(const RgbImageView& image);
    // Finds the colour in the global table (adding it at the end when absent) and makes it
    // the screen's background colour.
    void setBackgroundColor(GifRgb color);
    // Replaces all tables by one global table of the colours in use, most used first, and
    // rewrites the pixels to match (see color_optimizer.h). Throws GifError for an image
    // without pixels.
    void optimizeColorTables();

    void setWarningHandler(WarningHandler handler) { warningHandler_ = std::move(handler); }
    void warn(const std::string& message) const;

    // The GIF file as bytes. Throws GifError ("Unsupported GIF version", "Color not in color
    // table").
    [[nodiscard]] std::vector<std::uint8_t> saveToBytes() const;
    // Throws GifError when the stream fails.
    void saveToStream(std::ostream& out) const;

private:
    GifScreen screen_;
    std::vector<GifFrame> frames_;
    WarningHandler warningHandler_;
};

} // namespace tavrel
