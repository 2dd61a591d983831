// A growable array with a movable gap, for trivially copyable elements: inserts and
// erases near the last edit cost only the distance moved, as in a text editor's buffer.
// Growth goes through realloc, so large arrays grow without a second copy in memory.
#pragma once

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

#include "editor/types.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace tavrel {

template <typename T>
class GapVector {
    static_assert(std::is_trivially_copyable_v<T>, "elements are moved with memmove");

public:
    GapVector() = default;
    GapVector(const GapVector&) = delete; // large; copying by accident would hurt
    GapVector& operator=(const GapVector&) = delete;
    GapVector(GapVector&& other) noexcept { swap(other); }
    GapVector& operator=(GapVector&& other) noexcept {
        GapVector tmp(std::move(other));
        swap(tmp);
        return *this;
    }
    ~GapVector() { std::free(data_); }

    [[nodiscard]] Pos size() const noexcept { return capacity_ - gapLength_; }
    [[nodiscard]] bool empty() const noexcept { return size() == 0; }
    [[nodiscard]] Pos capacity() const noexcept { return capacity_; }

    [[nodiscard]] T& operator[](Pos i) noexcept {
        assert(i >= 0 && i < size());
        return data_[i < gapStart_ ? i : i + gapLength_];
    }
    [[nodiscard]] const T& operator[](Pos i) const noexcept {
        assert(i >= 0 && i < size());
        return data_[i < gapStart_ ? i : i + gapLength_];
    }

    void push_back(const T& value) {
        if (gapLength_ > 0 && gapStart_ == capacity_ - gapLength_) [[likely]] {
            data_[gapStart_++] = value; // the gap is at the end: appending is a store
            --gapLength_;
            return;
        }
        insert(size(), value);
    }

    // Element i and the number of elements stored contiguously from it, for loops that
    // walk many elements without a gap check per element.
    [[nodiscard]] const T* segment(Pos i, Pos* count) const noexcept {
        assert(i >= 0 && i < size());
        if (i < gapStart_) {
            *count = gapStart_ - i;
            return data_ + i;
        }
        *count = size() - i;
        return data_ + i + gapLength_;
    }

    void insert(Pos at, const T& value) {
        assert(at >= 0 && at <= size());
        if (gapLength_ == 0) {
            grow(1);
        }
        moveGap(at);
        data_[gapStart_] = value;
        ++gapStart_;
        --gapLength_;
    }

    // Opens room for n elements at `at` and returns a pointer to it; the caller fills it.
    T* insertUninitialised(Pos at, Pos n) {
        assert(at >= 0 && at <= size() && n >= 0);
        if (gapLength_ < n) {
            grow(n);
        }
        moveGap(at);
        T* slot = data_ + gapStart_;
        gapStart_ += n;
        gapLength_ -= n;
        return slot;
    }

    void erase(Pos at, Pos n = 1) {
        assert(at >= 0 && n >= 0 && at + n <= size());
        if (n == 0) {
            return;
        }
        if (at == 0 && n == size()) {
            gapStart_ = 0;
            gapLength_ = capacity_;
            return;
        }
        moveGap(at);
        gapLength_ += n;
    }

    void clear() noexcept {
        gapStart_ = 0;
        gapLength_ = capacity_;
    }

    void reserve(Pos n) {
        if (n > capacity_) {
            grow(n - size());
        }
    }

    // Gives back unused capacity; with realloc this usually shrinks in place.
    void shrinkToFit() {
        moveGap(size());
        const Pos n = size();
        if (n == capacity_) {
            return;
        }
        if (n == 0) {
            std::free(data_);
            data_ = nullptr;
            capacity_ = gapStart_ = gapLength_ = 0;
            return;
        }
        if (T* p = static_cast<T*>(std::realloc(data_, static_cast<std::size_t>(n) * sizeof(T)))) {
            data_ = p;
            capacity_ = n;
            gapLength_ = 0;
        }
    }

    // Elements [0, size) as one contiguous range (moves the gap to the end).
    T* contiguous() {
        moveGap(size());
        return data_;
    }

    void swap(GapVector& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(capacity_, other.capacity_);
        std::swap(gapStart_, other.gapStart_);
        std::swap(gapLength_, other.gapLength_);
    }

private:
    void moveGap(Pos at) noexcept {
        if (at == gapStart_) {
            return;
        }
        if (gapLength_ > 0 && data_ != nullptr) {
            if (at < gapStart_) {
                std::memmove(data_ + at + gapLength_, data_ + at,
                             static_cast<std::size_t>(gapStart_ - at) * sizeof(T));
            } else {
                std::memmove(data_ + gapStart_, data_ + gapStart_ + gapLength_,
                             static_cast<std::size_t>(at - gapStart_) * sizeof(T));
            }
        }
        gapStart_ = at;
    }

    void grow(Pos extra) {
        moveGap(size()); // gap at the end: realloc then keeps every element in place
        const Pos wanted = size() + extra;
        Pos newCapacity = std::max<Pos>(wanted, capacity_ + capacity_ / 2 + 16);
        auto* p =
            static_cast<T*>(std::realloc(data_, static_cast<std::size_t>(newCapacity) * sizeof(T)));
        if (p == nullptr) {
            throw std::bad_alloc();
        }
        data_ = p;
        gapLength_ += newCapacity - capacity_;
        capacity_ = newCapacity;
        adviseHugePages();
    }

    // A large array is backed by huge pages where the system offers them: loading a big
    // file fills tens of megabytes of records, and one fault per 2 MB instead of per 4 KB
    // takes a third off the load time.
    void adviseHugePages() noexcept {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
        constexpr std::uintptr_t kHuge = 2u << 20;
        const auto begin = reinterpret_cast<std::uintptr_t>(data_);
        const std::uintptr_t end = begin + static_cast<std::uintptr_t>(capacity_) * sizeof(T);
        const std::uintptr_t first = (begin + kHuge - 1) & ~(kHuge - 1);
        const std::uintptr_t last = end & ~(kHuge - 1);
        if (last > first) {
            madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
        }
#endif
    }

    T* data_ = nullptr;
    Pos capacity_ = 0;
    Pos gapStart_ = 0;
    Pos gapLength_ = 0;
};

} // namespace tavrel
