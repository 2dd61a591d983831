// The queue in the shared block.
#include "platform/handoff_block.h"

#include <algorithm>
#include <cstring>

namespace tavrel::platform {

namespace {

constexpr std::size_t kHeader = 4;
constexpr std::size_t kEntryHeader = 8;

[[nodiscard]] std::uint32_t numberAt(std::span<const std::byte> block, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 4; i > 0; --i) {
        value = (value << 8) | std::to_integer<std::uint32_t>(block[at + i - 1]);
    }
    return value;
}

void putNumber(std::span<std::byte> block, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        block[at + i] = static_cast<std::byte>((value >> (8 * i)) & 0xFF);
    }
}

// The entries that lie wholly inside the block, from the start of the queue.
[[nodiscard]] std::vector<HandedName> entriesOf(std::span<const std::byte> block) {
    std::vector<HandedName> entries;
    if (block.size() < kHeader) {
        return entries;
    }
    const std::size_t end =
        kHeader + std::min<std::size_t>(numberAt(block, 0), block.size() - kHeader);
    for (std::size_t at = kHeader; end - at >= kEntryHeader;) {
        const std::uint32_t length = numberAt(block, at + 4);
        // No process has the id 0: zero bytes there are no entry but a count gone wrong.
        if (numberAt(block, at) == 0 || length > end - at - kEntryHeader) {
            break;
        }
        const auto* text = reinterpret_cast<const char*>(block.data() + at + kEntryHeader);
        entries.push_back({numberAt(block, at), std::string(text, length)});
        at += kEntryHeader + length;
    }
    return entries;
}

void writeEntries(std::span<std::byte> block, const std::vector<HandedName>& entries) {
    std::size_t at = kHeader;
    for (const HandedName& entry : entries) {
        putNumber(block, at, entry.sender);
        putNumber(block, at + 4, static_cast<std::uint32_t>(entry.name.size()));
        std::memcpy(block.data() + at + kEntryHeader, entry.name.data(), entry.name.size());
        at += kEntryHeader + entry.name.size();
    }
    putNumber(block, 0, static_cast<std::uint32_t>(at - kHeader));
    // Nothing of a taken name stays behind for whoever maps the block next.
    std::fill(block.begin() + static_cast<std::ptrdiff_t>(at), block.end(), std::byte{0});
}

} // namespace

bool putHandedName(std::span<std::byte> block, std::uint32_t sender, std::string_view name) {
    if (block.size() < kHeader) {
        return false;
    }
    std::vector<HandedName> entries = entriesOf(block);
    std::size_t used = kHeader;
    for (const HandedName& entry : entries) {
        used += kEntryHeader + entry.name.size();
    }
    if (block.size() - used < kEntryHeader + name.size()) {
        return false;
    }
    entries.push_back({sender, std::string(name)});
    writeEntries(block, entries);
    return true;
}

std::vector<HandedName> takeHandedNames(std::span<std::byte> block) {
    std::vector<HandedName> entries = entriesOf(block);
    if (block.size() >= kHeader) {
        writeEntries(block, {});
    }
    return entries;
}

bool withdrawHandedNames(std::span<std::byte> block, std::uint32_t sender) {
    std::vector<HandedName> entries = entriesOf(block);
    const auto kept = std::remove_if(entries.begin(), entries.end(),
                                     [sender](const HandedName& e) { return e.sender == sender; });
    if (kept == entries.end()) {
        return false;
    }
    entries.erase(kept, entries.end());
    writeEntries(block, entries);
    return true;
}

} // namespace tavrel::platform
