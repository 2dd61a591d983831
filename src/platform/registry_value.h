// How a setting looks in the registry: the value's type and its bytes as the registry
// functions take and give them. Kept apart from the calls so that the mapping is tested on
// every system.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavrel::platform {

// The registry's own type numbers.
enum class RegistryType : std::uint32_t {
    String = 1,       // REG_SZ: UTF-16, ending in a zero unit
    ExpandString = 2, // REG_EXPAND_SZ: read like a string, never expanded
    Binary = 3,       // REG_BINARY
    Dword = 4,        // REG_DWORD, little-endian
    Qword = 11,       // REG_QWORD, little-endian
};

struct RegistryValue {
    RegistryType type = RegistryType::Binary;
    std::string bytes;

    friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

// A text setting: a string value when the text is UTF-8 (the program's own texts and every
// name of a file), else the bytes as they are (a search text in Windows-1252, say), so that
// every text reads back as it was written.
[[nodiscard]] RegistryValue registryText(std::string_view text);
// An integer or a boolean (1 or 0): a 32-bit value.
[[nodiscard]] RegistryValue registryInteger(std::int32_t value);

// Nothing for a number where a text is read: the caller then uses its default.
[[nodiscard]] std::optional<std::string> textFromRegistry(const RegistryValue& value);
// A 32-bit value; a 64-bit one keeps its low 32 bits; a string holding a decimal number
// (written by hand with the registry editor) is taken too.
[[nodiscard]] std::optional<std::int32_t> integerFromRegistry(const RegistryValue& value);

} // namespace tavrel::platform
