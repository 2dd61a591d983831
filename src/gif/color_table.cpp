// Colour table operations; the overflow check is the one place a table can refuse a colour.
#include "gif/color_table.h"

#include "gif/gif_error.h"

#include <algorithm>
#include <stdexcept>

namespace tavrel {

int GifColorTable::add(GifRgb color) {
    if (count_ >= kMaxColors) {
        throw GifError(kGifColorTableOverflow);
    }
    entries_[count_] = color;
    optimized_ = false;
    return count_++;
}

void GifColorTable::set(int index, GifRgb color) {
    if (index < 0 || index >= count_) {
        throw std::out_of_range("GifColorTable::set: index out of range");
    }
    entries_[index] = color;
    optimized_ = false;
}

void GifColorTable::clear() noexcept {
    count_ = 0;
    optimized_ = false;
}

std::optional<int> GifColorTable::indexOf(GifRgb color) const noexcept {
    const auto end = entries_.begin() + count_;
    const auto it = std::find(entries_.begin(), end, color);
    if (it == end) {
        return std::nullopt;
    }
    return static_cast<int>(it - entries_.begin());
}

bool operator==(const GifColorTable& a, const GifColorTable& b) noexcept {
    return a.count_ == b.count_ && a.optimized_ == b.optimized_ &&
           std::equal(a.entries_.begin(), a.entries_.begin() + a.count_, b.entries_.begin());
}

} // namespace tavrel
