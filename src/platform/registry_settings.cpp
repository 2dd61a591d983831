// RegistrySettings: the wide registry calls on the value forms of registry_value.h. Value
// names are UTF-8 inside the program and UTF-16 at the call.
#include "platform/registry_settings.h"

#include "platform/registry_value.h"
#include "platform/utf16_text.h"

#include <windows.h>

namespace tavrel::platform {

namespace {

[[nodiscard]] std::wstring wideOf(const std::string& utf8) {
    // Setting names are the program's own (ASCII and the file classes); a name that is no
    // UTF-8 cannot come from there, and is kept apart rather than misnamed.
    const std::u16string units = utf16FromUtf8(utf8).value_or(u"\uFFFD");
    return {units.begin(), units.end()};
}

[[nodiscard]] std::string reasonOf(LSTATUS status) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(status), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::u16string units(text, text + length);
    LocalFree(text);
    while (!units.empty() && (units.back() == u'\n' || units.back() == u'\r' ||
                              units.back() == u' ' || units.back() == u'.')) {
        units.pop_back();
    }
    return units.empty() ? "error " + std::to_string(status) : utf8FromUtf16(units);
}

} // namespace

RegistrySettings::RegistrySettings(const std::string& subKey) : subKey_(subKey) {
    HKEY key = nullptr;
    const LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, wideOf(subKey).c_str(), 0, nullptr,
                                           REG_OPTION_NON_VOLATILE, KEY_QUERY_VALUE | KEY_SET_VALUE,
                                           nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        key_ = key;
    } else {
        openError_ =
            "The settings key " + location() + " could not be opened: " + reasonOf(status) + ".";
    }
}

RegistrySettings::~RegistrySettings() {
    if (key_ != nullptr) {
        RegCloseKey(static_cast<HKEY>(key_));
    }
}

std::optional<std::string> RegistrySettings::readString(const std::string& name) const {
    if (key_ == nullptr) {
        return std::nullopt;
    }
    const std::wstring wideName = wideOf(name);
    // The size can change between asking and reading (another instance writing): ask again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExW(static_cast<HKEY>(key_), wideName.c_str(), nullptr, &type, nullptr,
                             &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        std::string bytes(size, '\0');
        const LSTATUS status =
            RegQueryValueExW(static_cast<HKEY>(key_), wideName.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(bytes.data()), &size);
        if (status == ERROR_MORE_DATA) {
            continue;
        }
        if (status != ERROR_SUCCESS) {
            return std::nullopt;
        }
        bytes.resize(size);
        return textFromRegistry({static_cast<RegistryType>(type), std::move(bytes)});
    }
    return std::nullopt;
}

std::optional<std::int32_t> RegistrySettings::readInteger(const std::string& name) const {
    if (key_ == nullptr) {
        return std::nullopt;
    }
    const std::wstring wideName = wideOf(name);
    DWORD type = 0;
    // A number fits in eight bytes; a decimal text written by hand in far fewer than this.
    std::string bytes(64, '\0');
    DWORD size = static_cast<DWORD>(bytes.size());
    if (RegQueryValueExW(static_cast<HKEY>(key_), wideName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(bytes.data()), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    bytes.resize(size);
    return integerFromRegistry({static_cast<RegistryType>(type), std::move(bytes)});
}

void RegistrySettings::writeString(const std::string& name, const std::string& value) {
    store(name, registryText(value));
}

void RegistrySettings::writeInteger(const std::string& name, std::int32_t value) {
    store(name, registryInteger(value));
}

void RegistrySettings::store(const std::string& name, const RegistryValue& form) {
    if (key_ == nullptr) {
        return; // reported by flush()
    }
    const LSTATUS status = RegSetValueExW(
        static_cast<HKEY>(key_), wideOf(name).c_str(), 0, static_cast<DWORD>(form.type),
        reinterpret_cast<const BYTE*>(form.bytes.data()), static_cast<DWORD>(form.bytes.size()));
    if (status != ERROR_SUCCESS && writeError_.empty()) {
        writeError_ = "The setting " + name + " could not be written to " + location() + ": " +
                      reasonOf(status) + ".";
    }
}

WriteStatus RegistrySettings::flush() {
    if (!openError_.empty()) {
        return {openError_};
    }
    WriteStatus status{std::move(writeError_)};
    writeError_.clear();
    return status;
}

std::string RegistrySettings::location() const {
    return "HKEY_CURRENT_USER\\" + subKey_;
}

} // namespace tavrel::platform
