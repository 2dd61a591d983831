// A small GIF decoder for checking what the writer produced, written from the GIF89a format
// alone and sharing no code with the library: header, tables, image descriptors, sub-blocks
// and LZW decoding. It is strict (anything a careful reader would trip on throws) and records
// how the code stream used its dictionary, so tests can check Clear placement and code widths.
// Header-only so the fuzz target can compile it in too.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace gif_check {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct LzwStats {
    int codes = 0;                  // data codes read (not Clear or End)
    int maxWidth = 0;               // widest code read, in bits
    int maxAssigned = -1;           // largest dictionary code the stream made the reader assign
    std::vector<int> clearNextFree; // for each Clear after the first: the next free code then
};

struct Image {
    int left = 0, top = 0, width = 0, height = 0;
    std::uint8_t packed = 0;
    std::vector<Rgb> localTable; // padded size as announced
    int minCodeSize = 0;
    std::vector<std::uint8_t> indices;
    std::vector<std::size_t> subBlockSizes;
    LzwStats lzw;
};

struct File {
    std::string version;
    int width = 0, height = 0;
    std::uint8_t packed = 0, background = 0, aspect = 0;
    std::vector<Rgb> globalTable;
    std::vector<Image> images;

    // The colour a pixel of an image shows, through its local table or else the global one.
    [[nodiscard]] Rgb colorAt(const Image& image, std::size_t pixel) const {
        const std::vector<Rgb>& table = image.localTable.empty() ? globalTable : image.localTable;
        const std::uint8_t index = image.indices.at(pixel);
        if (index >= table.size()) {
            throw std::runtime_error("pixel index beyond the colour table");
        }
        return table[index];
    }
};

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}
    std::uint8_t byte() {
        if (at_ >= data_.size()) {
            throw std::runtime_error("unexpected end of file");
        }
        return data_[at_++];
    }
    int u16() {
        const int lo = byte();
        return lo | (byte() << 8);
    }
    [[nodiscard]] bool atEnd() const { return at_ == data_.size(); }

private:
    std::span<const std::uint8_t> data_;
    std::size_t at_ = 0;
};

inline std::vector<Rgb> readTable(Reader& in, int sizeField) {
    std::vector<Rgb> table(std::size_t{1} << (sizeField + 1));
    for (Rgb& c : table) {
        c.r = in.byte();
        c.g = in.byte();
        c.b = in.byte();
    }
    return table;
}

// Decodes one LZW stream into exactly `count` indices.
inline void decodeLzw(const std::vector<std::uint8_t>& data, int minCodeSize, std::size_t count,
                      Image& image) {
    if (minCodeSize < 2 || minCodeSize > 8) {
        throw std::runtime_error("bad minimum code size");
    }
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    std::array<int, 4096> prefix{};
    std::array<std::uint8_t, 4096> suffix{};
    std::array<std::uint8_t, 4096> first{};
    for (int i = 0; i < clear; ++i) {
        suffix[i] = first[i] = static_cast<std::uint8_t>(i);
        prefix[i] = -1;
    }
    int width = minCodeSize + 1;
    int next = clear + 2;
    int prev = -1;
    bool started = false;
    std::size_t bitPos = 0;
    std::vector<std::uint8_t> stack;
    LzwStats& stats = image.lzw;
    for (;;) {
        if (bitPos + width > data.size() * 8) {
            throw std::runtime_error("code stream ends without an End code");
        }
        int code = 0;
        for (int b = 0; b < width; ++b, ++bitPos) {
            code |= ((data[bitPos / 8] >> (bitPos % 8)) & 1) << b;
        }
        stats.maxWidth = std::max(stats.maxWidth, width);
        if (code == clear) {
            if (started) {
                stats.clearNextFree.push_back(next);
            }
            started = true;
            width = minCodeSize + 1;
            next = clear + 2;
            prev = -1;
            continue;
        }
        if (code == end) {
            break;
        }
        ++stats.codes;
        if (prev < 0) {
            if (code >= clear) {
                throw std::runtime_error("first code after Clear is not a root code");
            }
        } else if (code > next || (code == next && next >= 4096)) {
            throw std::runtime_error("code beyond the dictionary");
        }
        int walk = code;
        stack.clear();
        if (prev >= 0 && code == next) {
            stack.push_back(first[prev]);
            walk = prev;
        }
        for (; walk >= 0; walk = prefix[walk]) {
            stack.push_back(suffix[walk]);
        }
        for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
            if (image.indices.size() == count) {
                throw std::runtime_error("more pixels than the image holds");
            }
            image.indices.push_back(*it);
        }
        if (prev >= 0 && next < 4096) {
            prefix[next] = prev;
            suffix[next] = stack.back();
            first[next] = first[prev];
            stats.maxAssigned = std::max(stats.maxAssigned, next);
            ++next;
            if (next == (1 << width) && width < 12) {
                ++width;
            }
        }
        prev = code;
    }
    if (!started) {
        throw std::runtime_error("code stream does not begin with Clear");
    }
    if (image.indices.size() != count) {
        throw std::runtime_error("fewer pixels than the image holds");
    }
    // Only the padding bits of the last byte may follow End.
    if ((bitPos + 7) / 8 != data.size()) {
        throw std::runtime_error("data after the End code");
    }
}

inline File decode(std::span<const std::uint8_t> bytes) {
    Reader in(bytes);
    File file;
    for (int i = 0; i < 6; ++i) {
        file.version.push_back(static_cast<char>(in.byte()));
    }
    if (file.version != "GIF87a" && file.version != "GIF89a") {
        throw std::runtime_error("not a GIF file");
    }
    file.width = in.u16();
    file.height = in.u16();
    file.packed = in.byte();
    file.background = in.byte();
    file.aspect = in.byte();
    if (file.packed & 0x80) {
        file.globalTable = readTable(in, file.packed & 7);
    }
    for (;;) {
        const std::uint8_t introducer = in.byte();
        if (introducer == 0x3B) {
            break;
        }
        if (introducer != 0x2C) {
            throw std::runtime_error("unexpected block introducer");
        }
        Image image;
        image.left = in.u16();
        image.top = in.u16();
        image.width = in.u16();
        image.height = in.u16();
        image.packed = in.byte();
        if (image.packed & 0x40) {
            throw std::runtime_error("interlaced images are not expected");
        }
        if (image.packed & 0x80) {
            image.localTable = readTable(in, image.packed & 7);
        }
        image.minCodeSize = in.byte();
        std::vector<std::uint8_t> data;
        for (std::size_t n = in.byte(); n != 0; n = in.byte()) {
            image.subBlockSizes.push_back(n);
            for (std::size_t i = 0; i < n; ++i) {
                data.push_back(in.byte());
            }
        }
        decodeLzw(data, image.minCodeSize,
                  static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height),
                  image);
        file.images.push_back(std::move(image));
    }
    if (!in.atEnd()) {
        throw std::runtime_error("bytes after the trailer");
    }
    return file;
}

} // namespace gif_check
