// An independent PNG reader for tests: chunks, zlib (the system library, not Qt's image
// code) and the five row filters, for 8-bit RGB and RGBA images without interlacing. What
// the program's PNG files are checked against.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel::test {

struct PngPixels {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint32_t> rgb; // 0xRRGGBB per pixel, row by row (alpha dropped)
    [[nodiscard]] std::uint32_t at(std::uint32_t x, std::uint32_t y) const {
        return rgb[static_cast<std::size_t>(y) * width + x];
    }
};

namespace png_detail {

inline std::uint32_t be32(std::string_view s, std::size_t at) {
    return (std::uint32_t(std::uint8_t(s[at])) << 24) |
           (std::uint32_t(std::uint8_t(s[at + 1])) << 16) |
           (std::uint32_t(std::uint8_t(s[at + 2])) << 8) | std::uint32_t(std::uint8_t(s[at + 3]));
}

inline int paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : (pb <= pc ? b : c);
}

} // namespace png_detail

// The pixels of a PNG file, or nothing (and `error` says why) for anything this reader does
// not take or a damaged file.
inline std::optional<PngPixels> decodePng(std::string_view file, std::string& error) {
    using png_detail::be32;
    static constexpr std::string_view kSignature("\x89PNG\r\n\x1a\n", 8);
    if (file.substr(0, 8) != kSignature) {
        error = "no PNG signature";
        return std::nullopt;
    }
    PngPixels out;
    int colourType = -1;
    int depth = 8;
    std::vector<std::uint32_t> palette;
    std::string compressed;
    bool ended = false;
    for (std::size_t at = 8; at + 12 <= file.size();) {
        const std::uint32_t length = be32(file, at);
        if (at + 12 + length > file.size()) {
            error = "chunk runs past the end";
            return std::nullopt;
        }
        const std::string_view type = file.substr(at + 4, 4);
        const std::string_view data = file.substr(at + 8, length);
        const std::uint32_t crc = be32(file, at + 8 + length);
        const auto computed = static_cast<std::uint32_t>(
            crc32(crc32(0, reinterpret_cast<const Bytef*>(type.data()), 4),
                  reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
        if (crc != computed) {
            error = "bad CRC in chunk " + std::string(type);
            return std::nullopt;
        }
        if (type == "IHDR") {
            out.width = be32(data, 0);
            out.height = be32(data, 4);
            depth = std::uint8_t(data[8]);
            colourType = std::uint8_t(data[9]);
            const bool mapped =
                colourType == 3 && (depth == 1 || depth == 2 || depth == 4 || depth == 8);
            const bool direct = depth == 8 && (colourType == 2 || colourType == 6);
            if (!(mapped || direct) || data[12] != 0) {
                error = "unsupported depth " + std::to_string(depth) + " or colour type " +
                        std::to_string(colourType) + " or interlace";
                return std::nullopt;
            }
        } else if (type == "PLTE") {
            for (std::size_t i = 0; i + 3 <= data.size(); i += 3) {
                palette.push_back((std::uint32_t(std::uint8_t(data[i])) << 16) |
                                  (std::uint32_t(std::uint8_t(data[i + 1])) << 8) |
                                  std::uint8_t(data[i + 2]));
            }
        } else if (type == "IDAT") {
            compressed.append(data);
        } else if (type == "IEND") {
            ended = true;
            break;
        }
        at += 12 + length;
    }
    if (!ended || colourType < 0) {
        error = "no IHDR or IEND";
        return std::nullopt;
    }
    if (colourType == 3 && palette.empty()) {
        error = "colour-mapped image without a palette";
        return std::nullopt;
    }
    // Filters work on whole bytes: a colour-mapped row's bytes look one byte back.
    const std::size_t channels = colourType == 6 ? 4 : colourType == 2 ? 3 : 1;
    const std::size_t stride = colourType == 3 ? (out.width * depth + 7) / 8 : out.width * channels;
    std::vector<std::uint8_t> raw((stride + 1) * out.height);
    uLongf rawSize = static_cast<uLongf>(raw.size());
    if (uncompress(raw.data(), &rawSize, reinterpret_cast<const Bytef*>(compressed.data()),
                   static_cast<uLong>(compressed.size())) != Z_OK ||
        rawSize != raw.size()) {
        error = "zlib data damaged or of the wrong size";
        return std::nullopt;
    }
    std::vector<std::uint8_t> previous(stride, 0);
    std::vector<std::uint8_t> row(stride);
    out.rgb.reserve(static_cast<std::size_t>(out.width) * out.height);
    for (std::uint32_t y = 0; y < out.height; ++y) {
        const std::uint8_t* line = raw.data() + y * (stride + 1);
        const int filter = line[0];
        for (std::size_t i = 0; i < stride; ++i) {
            const int a = i >= channels ? row[i - channels] : 0;
            const int b = previous[i];
            const int c = i >= channels ? previous[i - channels] : 0;
            int predictor = 0;
            switch (filter) {
            case 0:
                predictor = 0;
                break;
            case 1:
                predictor = a;
                break;
            case 2:
                predictor = b;
                break;
            case 3:
                predictor = (a + b) / 2;
                break;
            case 4:
                predictor = png_detail::paeth(a, b, c);
                break;
            default:
                error = "bad filter";
                return std::nullopt;
            }
            row[i] = static_cast<std::uint8_t>(line[1 + i] + predictor);
        }
        for (std::uint32_t x = 0; x < out.width; ++x) {
            if (colourType == 3) {
                const std::size_t bit = std::size_t(x) * depth;
                const int shift = 8 - depth - int(bit % 8);
                const std::size_t index = (row[bit / 8] >> shift) & ((1u << depth) - 1);
                if (index >= palette.size()) {
                    error = "colour index past the palette";
                    return std::nullopt;
                }
                out.rgb.push_back(palette[index]);
                continue;
            }
            const std::uint8_t* p = row.data() + x * channels;
            out.rgb.push_back((std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2]);
        }
        previous.swap(row);
    }
    return out;
}

} // namespace tavrel::test
