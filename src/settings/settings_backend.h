// The per-user native settings store behind ConfigSaver when the program is not portable:
// named text and 32-bit integer values, one per setting, named section + "_" + key.
#pragma once

#include "settings/write_status.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tavrel {

class SettingsBackend {
public:
    SettingsBackend() = default;
    virtual ~SettingsBackend() = default;
    SettingsBackend(const SettingsBackend&) = delete; // a backend stands for one live store
    SettingsBackend& operator=(const SettingsBackend&) = delete;

    // Nothing when the value is absent or holds the other type; the caller then uses its
    // default.
    [[nodiscard]] virtual std::optional<std::string> readString(const std::string& name) const = 0;
    [[nodiscard]] virtual std::optional<std::int32_t>
    readInteger(const std::string& name) const = 0;

    virtual void writeString(const std::string& name, const std::string& value) = 0;
    virtual void writeInteger(const std::string& name, std::int32_t value) = 0;

    // Makes the writes so far durable.
    [[nodiscard]] virtual WriteStatus flush() = 0;
};

} // namespace tavrel
