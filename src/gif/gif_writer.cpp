// The file layout of the GIF87a/GIF89a formats as this program writes it.
#include "gif/gif_writer.h"

#include "gif/gif_error.h"
#include "gif/lzw_encoder.h"
#include "gif/picture.h"

#include <algorithm>
#include <ostream>
#include <string_view>

namespace tavrel {

namespace {

constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::size_t kSubBlockSize = 255;

void putU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

// The entries, then black up to the next power of two, which is the size the packed byte
// announces.
void putTable(std::vector<std::uint8_t>& out, const GifColorTable& table) {
    for (int i = 0; i < table.count(); ++i) {
        out.insert(out.end(), {table[i].red, table[i].green, table[i].blue});
    }
    const int padded = 1 << bitsFor(table.count());
    out.insert(out.end(), static_cast<std::size_t>(3 * (padded - table.count())), 0);
}

// The version follows the frames alone: a sorted local table makes a GIF89a file, while a
// sorted global table keeps GIF87a with the sort flag set, as this program's exported images
// have always been written. (Extensions, the other reason for 89a, are never written.)
bool needs89a(const GifFrame& frame) {
    return !frame.localTable().empty() && frame.localTable().optimized();
}

std::uint8_t screenPacked(const GifPicture& picture) {
    const GifColorTable& global = picture.screen().globalTable;
    int resolution = bitsFor(global.count()) - 1;
    int largest = bitsFor(global.count());
    for (std::size_t i = 0; i < picture.frameCount(); ++i) {
        const int localBits = bitsFor(picture.frame(i).localTable().count());
        resolution = std::max(resolution, localBits - 1);
        largest = std::max(largest, localBits);
    }
    // The size field must describe the global table actually written, or a reader would take
    // image data for colours; only without a global table is it free to mention the largest.
    const int sizeField = global.empty() ? largest - 1 : bitsFor(global.count()) - 1;
    std::uint8_t packed = 0;
    if (!global.empty()) {
        packed |= 0x80;
        if (global.optimized()) {
            packed |= 0x08;
        }
    }
    packed |= static_cast<std::uint8_t>(std::max(resolution, 0) << 4);
    packed |= static_cast<std::uint8_t>(std::max(sizeField, 0));
    return packed;
}

void putSubBlocks(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& data) {
    for (std::size_t at = 0; at < data.size(); at += kSubBlockSize) {
        const std::size_t n = std::min(kSubBlockSize, data.size() - at);
        out.push_back(static_cast<std::uint8_t>(n));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    out.push_back(0);
}

void putFrame(std::vector<std::uint8_t>& out, const GifFrame& frame, const GifColorTable& global,
              std::vector<std::uint8_t>& scratch) {
    if (frame.empty()) {
        return;
    }
    const GifColorTable& local = frame.localTable();
    out.push_back(kImageSeparator);
    putU16(out, frame.left());
    putU16(out, frame.top());
    putU16(out, frame.width());
    putU16(out, frame.height());
    int rootBits = 0;
    int colorCount = 0;
    if (!local.empty()) {
        rootBits = bitsFor(local.count());
        colorCount = local.count();
        out.push_back(
            static_cast<std::uint8_t>(0x80 | (local.optimized() ? 0x20 : 0) | (rootBits - 1)));
        putTable(out, local);
    } else {
        // Indices into the padded global table are valid; beyond it there is no colour.
        rootBits = bitsFor(global.count());
        colorCount = 1 << rootBits;
        out.push_back(0x00);
    }
    const int minCodeSize = std::max(rootBits, 2);
    out.push_back(static_cast<std::uint8_t>(minCodeSize));
    scratch.clear();
    lzwEncode(frame.pixels(), minCodeSize, colorCount, scratch);
    putSubBlocks(out, scratch);
}

} // namespace

std::vector<std::uint8_t> encodeGif(const GifPicture& picture) {
    if (picture.frameCount() == 0) {
        throw GifError(kGifUnsupportedVersion);
    }
    bool is89a = false;
    for (std::size_t i = 0; i < picture.frameCount(); ++i) {
        is89a = is89a || needs89a(picture.frame(i));
    }
    const GifScreen& screen = picture.screen();
    const std::string_view signature = is89a ? "GIF89a" : "GIF87a";
    std::vector<std::uint8_t> out(signature.begin(), signature.end());
    putU16(out, screen.width);
    putU16(out, screen.height);
    out.push_back(screenPacked(picture));
    out.push_back(screen.backgroundIndex);
    out.push_back(screen.aspectRatio);
    if (!screen.globalTable.empty()) {
        putTable(out, screen.globalTable);
    }
    std::vector<std::uint8_t> scratch;
    for (std::size_t i = 0; i < picture.frameCount(); ++i) {
        putFrame(out, picture.frame(i), screen.globalTable, scratch);
    }
    out.push_back(kTrailer);
    return out;
}

void writeGif(const GifPicture& picture, std::ostream& out) {
    const std::vector<std::uint8_t> bytes = encodeGif(picture);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
        throw GifError("Cannot write the GIF image: the output stream failed");
    }
}

} // namespace tavrel
