// The registry forms of the settings' texts and integers, byte for byte.
#include "platform/registry_value.h"

#include "platform/utf16_text.h"
#include "settings/number_text.h"

namespace tavrel::platform {

namespace {

[[nodiscard]] std::uint64_t littleEndian(std::string_view bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = bytes.size(); i > 0; --i) {
        value = (value << 8) | static_cast<std::uint8_t>(bytes[i - 1]);
    }
    return value;
}

[[nodiscard]] std::string stringOf(const RegistryValue& value) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < value.bytes.size(); i += 2) {
        units += static_cast<char16_t>(littleEndian(std::string_view(value.bytes).substr(i, 2)));
    }
    // The terminating zero, and any a careless writer added, are not part of the text.
    while (!units.empty() && units.back() == u'\0') {
        units.pop_back();
    }
    return utf8FromUtf16(units);
}

} // namespace

RegistryValue registryText(std::string_view text) {
    const std::optional<std::u16string> units = utf16FromUtf8(text);
    if (!units) {
        return {RegistryType::Binary, std::string(text)};
    }
    RegistryValue value{RegistryType::String, {}};
    for (const char16_t unit : *units) {
        value.bytes += static_cast<char>(unit & 0xFF);
        value.bytes += static_cast<char>(unit >> 8);
    }
    value.bytes.append(2, '\0');
    return value;
}

RegistryValue registryInteger(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    return {RegistryType::Dword,
            {static_cast<char>(bits & 0xFF), static_cast<char>((bits >> 8) & 0xFF),
             static_cast<char>((bits >> 16) & 0xFF), static_cast<char>(bits >> 24)}};
}

std::optional<std::string> textFromRegistry(const RegistryValue& value) {
    switch (value.type) {
    case RegistryType::String:
    case RegistryType::ExpandString:
        return stringOf(value);
    case RegistryType::Binary:
        return value.bytes;
    case RegistryType::Dword:
    case RegistryType::Qword:
        break;
    }
    return std::nullopt;
}

std::optional<std::int32_t> integerFromRegistry(const RegistryValue& value) {
    switch (value.type) {
    case RegistryType::Dword:
    case RegistryType::Qword:
        if (value.bytes.size() != (value.type == RegistryType::Dword ? 4u : 8u)) {
            return std::nullopt; // cut short: no number anybody wrote
        }
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(littleEndian(value.bytes)));
    case RegistryType::String:
    case RegistryType::ExpandString:
        return parseDecimal(stringOf(value));
    case RegistryType::Binary:
        break;
    }
    return std::nullopt;
}

} // namespace tavrel::platform
