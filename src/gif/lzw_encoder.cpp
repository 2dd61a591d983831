// LZW encoding with an open-addressing dictionary. This loop is where a full-screen export
// spends most of its time: every pixel costs one hash probe, so the table is small enough to
// stay in the first-level cache and is emptied by memset on each Clear (a few thousand codes
// apart, so the 32 KB reset is noise).
#include "gif/lzw_encoder.h"

#include "gif/gif_error.h"

#include <algorithm>
#include <array>
#include <memory>

namespace tavrel {

namespace {

// Keys are prefix code << 8 | pixel (20 bits); a slot holds key << 12 | code. Assigned codes
// are never 0, so 0 marks an empty slot. At most 4095 - 6 entries live in 8192 slots, a load
// of at most one half, where linear probing needs about two probes for a miss.
class Dictionary {
public:
    static constexpr int kBits = 13;
    static constexpr std::uint32_t kMask = (1u << kBits) - 1;

    void clear() noexcept { slots_.fill(0); }

    // Returns the code stored for key, or 0 with slot set to where the key would go.
    [[nodiscard]] std::uint32_t find(std::uint32_t key, std::uint32_t& slot) const noexcept {
        std::uint32_t s = (key * 2654435761u) >> (32 - kBits);
        for (;;) {
            const std::uint32_t e = slots_[s];
            if (e == 0) {
                slot = s;
                return 0;
            }
            if ((e >> 12) == key) {
                return e & 0xFFF;
            }
            s = (s + 1) & kMask;
        }
    }
    void insert(std::uint32_t slot, std::uint32_t key, std::uint32_t code) noexcept {
        slots_[slot] = (key << 12) | code;
    }

private:
    std::array<std::uint32_t, std::size_t{1} << kBits> slots_{};
};

class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    void put(std::uint32_t code, int width) {
        acc_ |= std::uint64_t{code} << count_;
        count_ += width;
        while (count_ >= 8) {
            out_.push_back(static_cast<std::uint8_t>(acc_));
            acc_ >>= 8;
            count_ -= 8;
        }
    }
    // The last partial byte, its unused high bits 0.
    void flush() {
        if (count_ > 0) {
            out_.push_back(static_cast<std::uint8_t>(acc_));
        }
        acc_ = 0;
        count_ = 0;
    }

private:
    std::vector<std::uint8_t>& out_;
    std::uint64_t acc_ = 0;
    int count_ = 0;
};

// Code widths: after a code the width grows when the first free code no longer fits it; at 12
// bits the largest code counts as 4096, so the width never passes 12.
[[nodiscard]] constexpr std::uint32_t largestCode(int width) noexcept {
    return width >= kLzwMaxCodeBits ? 4096u : (1u << width) - 1;
}

} // namespace

void lzwEncode(std::span<const std::uint8_t> pixels, int minCodeSize, int colorCount,
               std::vector<std::uint8_t>& out) {
    if (pixels.empty()) {
        return;
    }
    // Checked before anything is written; a vectorised scan costs less than a test per pixel.
    if (colorCount < 256 && *std::max_element(pixels.begin(), pixels.end()) >= colorCount) {
        throw GifError(kGifColorNotInTable);
    }

    const std::uint32_t clearCode = 1u << minCodeSize;
    const std::uint32_t endCode = clearCode + 1;
    const int initialWidth = minCodeSize + 1;

    auto dict = std::make_unique<Dictionary>();
    BitWriter bits(out);
    int width = initialWidth;
    std::uint32_t maxCode = largestCode(width);
    std::uint32_t nextCode = clearCode + 2;
    bits.put(clearCode, width);

    std::uint32_t prefix = pixels[0];
    for (std::size_t i = 1; i < pixels.size(); ++i) {
        const std::uint32_t p = pixels[i];
        const std::uint32_t key = (prefix << 8) | p;
        std::uint32_t slot = 0;
        const std::uint32_t code = dict->find(key, slot);
        if (code != 0) {
            prefix = code;
            continue;
        }
        bits.put(prefix, width);
        if (nextCode > maxCode) {
            maxCode = largestCode(++width);
        }
        prefix = p;
        if (nextCode >= kLzwClearAt) {
            bits.put(clearCode, width);
            dict->clear();
            nextCode = clearCode + 2;
            width = initialWidth;
            maxCode = largestCode(width);
        } else {
            dict->insert(slot, key, nextCode++);
        }
    }
    bits.put(prefix, width);
    if (nextCode > maxCode) {
        maxCode = largestCode(++width);
    }
    bits.put(endCode, width);
    bits.flush();
}

} // namespace tavrel
