// The per-user native settings store on Unix-like systems: QSettings in the system's own
// format for organisation "Velmantic" and application "Tavrel" (on Linux
// ~/.config/Velmantic/Tavrel.conf, following $XDG_CONFIG_HOME), one flat value per setting.
// Windows has its own store in the registry (registry_settings.h).
#pragma once

#include "settings/settings_backend.h"

#include <map>
#include <memory>

#include <QVariant>

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
    [[nodiscard]] QVariant valueOf(const std::string& name) const;
    void store(const std::string& name, QVariant value);

    // Null when the file is there but is no regular file (a FIFO would hold start-up for
    // ever, a folder cannot be read): reads then give the defaults.
    std::unique_ptr<QSettings> settings_;
    std::string file_;
    // Why the file must not be replaced at flush (it could not be read or was malformed);
    // empty when it may be. Writes are then kept here, so that QSettings, which writes
    // pending changes when it is destroyed, never has any.
    std::string keepFileReason_;
    std::map<std::string, QVariant> held_;
};

} // namespace tavrel::platform
