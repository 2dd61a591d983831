// Which printer a print command starts with: the one used last, or the first in the list
// when that one is gone.
#pragma once

namespace tavrel {

// -1 when there is no printer at all.
[[nodiscard]] constexpr int printerIndexOrFirst(int saved, int count) noexcept {
    if (count <= 0) {
        return -1;
    }
    return saved >= 0 && saved < count ? saved : 0;
}

} // namespace tavrel
