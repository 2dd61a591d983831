// LZW encoding. This loop is where a full-screen export spends most of its time: every pixel
// costs one dictionary look-up, so the dictionary is chosen by colour count (see below).
#include "gif/lzw_encoder.h"

#include "gif/color_table.h"
#include "gif/gif_error.h"

#include <algorithm>
#include <array>
#include <memory>

namespace tavrel {

namespace {

// Two dictionaries behind one interface. The encoder keeps its current prefix in the
// dictionary's own form (stateOf(code), codeOf(state)), so that the direct table can chain
// look-ups without a shift in between. find(prefix, pixel) gives the state of the pair or 0
// (assigned codes are never 0); insert() adds a pair that find() did not have; clear()
// forgets every entry.

// The direct table serves pictures of up to 2^4 colours.
constexpr int kDirectMaxRootBits = 4;

// For the few colours of a text picture: one slot per (prefix, pixel) pair holding the code
// already shifted into place for the next look-up, so that each pixel costs one load and one
// OR; this chain of dependent loads is the encoder's speed limit. Clear resets only the slots
// that were filled.
class DirectDictionary {
public:
    explicit DirectDictionary(int rootBits)
        : rootBits_(rootBits), slots_(std::size_t{4096} << rootBits, 0) {}

    [[nodiscard]] std::uint32_t stateOf(std::uint32_t code) const noexcept {
        return code << rootBits_;
    }
    [[nodiscard]] std::uint32_t codeOf(std::uint32_t state) const noexcept {
        return state >> rootBits_;
    }
    [[nodiscard]] std::uint32_t find(std::uint32_t prefix, std::uint32_t pixel) const noexcept {
        return slots_[prefix | pixel];
    }
    void insert(std::uint32_t prefix, std::uint32_t pixel, std::uint32_t code) noexcept {
        const std::uint32_t slot = prefix | pixel;
        slots_[slot] = static_cast<std::uint16_t>(code << rootBits_);
        filled_[used_++] = slot;
    }
    void clear() noexcept {
        for (int i = 0; i < used_; ++i) {
            slots_[filled_[i]] = 0;
        }
        used_ = 0;
    }

private:
    int rootBits_;
    std::vector<std::uint16_t> slots_; // 16 bits hold a shifted code up to 4 root bits
    std::array<std::uint32_t, 4096> filled_{};
    int used_ = 0;
};

// For many colours, where a direct table would not fit the caches: open addressing keyed by
// prefix << 8 | pixel (20 bits), a slot holding key << 12 | code. At most 4095 - 6 entries
// live in 8192 slots, a load of at most one half, where linear probing needs about two probes
// for a miss. The 32 KB table stays in the first-level cache; memset on Clear (a few thousand
// codes apart) is noise.
class HashDictionary {
public:
    static constexpr int kBits = 13;
    static constexpr std::uint32_t kMask = (1u << kBits) - 1;

    [[nodiscard]] static std::uint32_t stateOf(std::uint32_t code) noexcept { return code; }
    [[nodiscard]] static std::uint32_t codeOf(std::uint32_t state) noexcept { return state; }
    [[nodiscard]] std::uint32_t find(std::uint32_t prefix, std::uint32_t pixel) const noexcept {
        const std::uint32_t key = (prefix << 8) | pixel;
        for (std::uint32_t s = slotOf(key);; s = (s + 1) & kMask) {
            const std::uint32_t e = slots_[s];
            if (e == 0) {
                return 0;
            }
            if ((e >> 12) == key) {
                return e & 0xFFF;
            }
        }
    }
    // Probes again rather than remembering the miss: it happens once per code, not per pixel.
    void insert(std::uint32_t prefix, std::uint32_t pixel, std::uint32_t code) noexcept {
        const std::uint32_t key = (prefix << 8) | pixel;
        std::uint32_t s = slotOf(key);
        while (slots_[s] != 0) {
            s = (s + 1) & kMask;
        }
        slots_[s] = (key << 12) | code;
    }
    void clear() noexcept { slots_.fill(0); }

private:
    [[nodiscard]] static std::uint32_t slotOf(std::uint32_t key) noexcept {
        return (key * 2654435761u) >> (32 - kBits);
    }

    std::array<std::uint32_t, std::size_t{1} << kBits> slots_{};
};

// Codes go into a 64-bit accumulator and leave it four bytes at a time; a code is at most 12
// bits, so the accumulator never holds more than 43.
class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    void put(std::uint32_t code, int width) {
        acc_ |= std::uint64_t{code} << count_;
        count_ += width;
        if (count_ >= 32) {
            const std::uint8_t bytes[4] = {
                static_cast<std::uint8_t>(acc_), static_cast<std::uint8_t>(acc_ >> 8),
                static_cast<std::uint8_t>(acc_ >> 16), static_cast<std::uint8_t>(acc_ >> 24)};
            out_.insert(out_.end(), bytes, bytes + 4);
            acc_ >>= 32;
            count_ -= 32;
        }
    }
    // The last partial byte gets its unused high bits 0.
    void flush() {
        for (; count_ > 0; count_ -= 8) {
            out_.push_back(static_cast<std::uint8_t>(acc_));
            acc_ >>= 8;
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

[[nodiscard]] std::uint8_t largestIndex(std::span<const std::uint8_t> pixels) noexcept {
    std::array<std::uint8_t, 16> largest{};
    std::size_t i = 0;
    for (; i + 16 <= pixels.size(); i += 16) {
        for (std::size_t k = 0; k < 16; ++k) {
            largest[k] = std::max(largest[k], pixels[i + k]);
        }
    }
    for (; i < pixels.size(); ++i) {
        largest[0] = std::max(largest[0], pixels[i]);
    }
    return *std::max_element(largest.begin(), largest.end());
}

// The encoding loop proper, for either dictionary.
template <typename Dictionary>
void encodeWith(Dictionary& dict, std::span<const std::uint8_t> pixels, int minCodeSize,
                std::vector<std::uint8_t>& out) {
    const std::uint32_t clearCode = 1u << minCodeSize;
    const std::uint32_t endCode = clearCode + 1;
    const int initialWidth = minCodeSize + 1;

    BitWriter bits(out);
    int width = initialWidth;
    std::uint32_t maxCode = largestCode(width);
    std::uint32_t nextCode = clearCode + 2;
    bits.put(clearCode, width);

    std::uint32_t prefix = dict.stateOf(pixels[0]);
    for (std::size_t i = 1; i < pixels.size(); ++i) {
        const std::uint32_t p = pixels[i];
        const std::uint32_t found = dict.find(prefix, p);
        if (found != 0) {
            prefix = found;
            continue;
        }
        const std::uint32_t code = dict.codeOf(prefix);
        bits.put(code, width);
        if (nextCode > maxCode) {
            maxCode = largestCode(++width);
        }
        if (nextCode >= kLzwClearAt) {
            bits.put(clearCode, width);
            dict.clear();
            nextCode = clearCode + 2;
            width = initialWidth;
            maxCode = largestCode(width);
        } else {
            dict.insert(prefix, p, nextCode++);
        }
        prefix = dict.stateOf(p);
    }
    bits.put(dict.codeOf(prefix), width);
    if (nextCode > maxCode) {
        ++width;
    }
    bits.put(endCode, width);
    bits.flush();
}

} // namespace

void lzwEncode(std::span<const std::uint8_t> pixels, int minCodeSize, int colorCount,
               std::vector<std::uint8_t>& out) {
    if (pixels.empty()) {
        return;
    }
    // Checked before anything is written, in a form that vectorises: a test per pixel in the
    // encoding loop would cost more.
    if (colorCount < 256 && largestIndex(pixels) >= colorCount) {
        throw GifError(kGifColorNotInTable);
    }
    // Up to 16 colours the direct table takes at most 128 KB of 16-bit slots (32 KB for the
    // four colours of a typical text picture, which then lives in the first-level cache).
    const int rootBits = std::max(1, bitsFor(colorCount));
    if (rootBits <= kDirectMaxRootBits) {
        DirectDictionary dict(rootBits);
        encodeWith(dict, pixels, minCodeSize, out);
    } else {
        auto dict = std::make_unique<HashDictionary>();
        encodeWith(*dict, pixels, minCodeSize, out);
    }
}

} // namespace tavrel
