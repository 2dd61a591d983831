// The shared block's layout: a queue of handed names, so that two starts at nearly the same
// moment both reach the running window instead of the later one overwriting the earlier.
// Callers hold the block's guard around every call.
//
// Layout, all numbers four bytes little-endian: the count of bytes used after this header,
// then one entry per name: the sender's process id, the name's length, the name's UTF-8
// bytes. A new block is all zero bytes, which is the empty queue; no process has the id 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel::platform {

inline constexpr std::size_t kHandoffBlockSize = 4096;

struct HandedName {
    std::uint32_t sender = 0;
    std::string name;

    friend bool operator==(const HandedName&, const HandedName&) = default;
};

// The longest name an empty block of this size takes.
[[nodiscard]] constexpr std::size_t longestHandedName(std::size_t blockSize) noexcept {
    return blockSize < 12 ? 0 : blockSize - 12;
}

// Appends a name at the end of the queue; false, and the block unchanged, when it does not
// fit in what is left.
[[nodiscard]] bool putHandedName(std::span<std::byte> block, std::uint32_t sender,
                                 std::string_view name);

// Every name in the order they were put in; the queue is empty afterwards. A block whose
// count or entries run past its end (written by something else under our name) gives the
// whole entries before that point and is emptied.
[[nodiscard]] std::vector<HandedName> takeHandedNames(std::span<std::byte> block);

// Removes the names sender put in and nobody has taken: a start that gave up waiting takes
// its name back and opens it itself. Answers whether one was there.
bool withdrawHandedNames(std::span<std::byte> block, std::uint32_t sender);

} // namespace tavrel::platform
