// The per-user native settings store: QSettings in the system's own format for organisation
// "Velmantic" and application "Tavrel" (on Linux ~/.config/Velmantic/Tavrel.conf, following
// $XDG_CONFIG_HOME; the registry on Windows), one flat value per setting.
#pragma once

#include "settings/settings_backend.h"

#include <memory>

class QSettings;

namespace tavrel::platform {

class NativeSettings final : public SettingsBackend {
public:
    NativeSettings();
    ~NativeSettings() override;

    [[nodiscard]] std::optional<std::string> readString(const std::string& name) const override;
    [[nodiscard]] std::optional<std::int32_t> readInteger(const std::string& name) const override;
    void writeString(const std::string& name, const std::string& value) override;
    void writeInteger(const std::string& name, std::int32_t value) override;
    [[nodiscard]] WriteStatus flush() override;

    // Where the values are kept (a file path, or a registry key on Windows).
    [[nodiscard]] std::string location() const;

private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace tavrel::platform
