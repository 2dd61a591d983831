// The image model's own operations: frames and their size limits, assigning a capture, the
// background colour. Optimising and writing live in their own files.
#include "gif/picture.h"

#include "gif/color_optimizer.h"
#include "gif/gif_error.h"
#include "gif/gif_writer.h"
#include "gif/web_palette.h"

#include <algorithm>
#include <string>

namespace tavrel {

namespace {

std::string sizeText(std::int64_t width, std::int64_t height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

} // namespace

GifFrame::GifFrame(std::int64_t width, std::int64_t height, std::int64_t left, std::int64_t top) {
    if (width < 0 || height < 0) {
        throw GifError("Invalid image size " + sizeText(width, height));
    }
    if (left < 0 || top < 0) {
        throw GifError("Invalid image position " + std::to_string(left) + ", " +
                       std::to_string(top));
    }
    // The screen must hold the frame too, so its right and bottom edge share the limit.
    if (width > kGifMaxDimension - left || height > kGifMaxDimension - top) {
        const std::string at = left != 0 || top != 0
                                   ? " at " + std::to_string(left) + ", " + std::to_string(top)
                                   : std::string();
        throw GifError("Image size " + sizeText(width, height) + at +
                       " is too large for a GIF image: width and height are limited to " +
                       std::to_string(kGifMaxDimension) + " pixels");
    }
    left_ = static_cast<std::uint16_t>(left);
    top_ = static_cast<std::uint16_t>(top);
    width_ = static_cast<std::uint16_t>(width);
    height_ = static_cast<std::uint16_t>(height);
    pixels_.assign(static_cast<std::size_t>(width * height), 0);
}

void GifPicture::addFrame(GifFrame frame) {
    screen_.width = std::max<std::uint16_t>(screen_.width, frame.left() + frame.width());
    screen_.height = std::max<std::uint16_t>(screen_.height, frame.top() + frame.height());
    frames_.push_back(std::move(frame));
}

void GifPicture::clear() noexcept {
    screen_ = GifScreen{};
    frames_.clear();
}

void GifPicture::assign(const RgbImageView& image) {
    GifFrame frame(image.width, image.height); // checks the size before anything changes
    if (!frame.empty()) {
        if (image.bits == nullptr) {
            throw GifError("No pixel data for an image of " + sizeText(image.width, image.height));
        }
        reduceToWebPalette(image, frame.pixels().data());
    }
    frame.localTable() = webPalette();
    clear();
    addFrame(std::move(frame));
}

void GifPicture::setBackgroundColor(GifRgb color) {
    const std::optional<int> found = screen_.globalTable.indexOf(color);
    screen_.backgroundIndex =
        static_cast<std::uint8_t>(found ? *found : screen_.globalTable.add(color));
}

void GifPicture::optimizeColorTables() {
    tavrel::optimizeColorTables(*this);
}

void GifPicture::warn(const std::string& message) const {
    if (warningHandler_) {
        warningHandler_(message);
    }
}

std::vector<std::uint8_t> GifPicture::saveToBytes() const {
    return encodeGif(*this);
}

void GifPicture::saveToStream(std::ostream& out) const {
    writeGif(*this, out);
}

} // namespace tavrel
