// The per-user native settings store on Windows: one registry value per setting below
// HKEY_CURRENT_USER\Software\Velmantic\Tavrel, texts as strings and integers and booleans as
// 32-bit values (the forms are in registry_value.h).
#pragma once

#include "platform/registry_value.h"
#include "settings/settings_backend.h"

#include <string>

namespace tavrel::platform {

inline constexpr const char* kRegistryKey = "Software\\Velmantic\\Tavrel";

class RegistrySettings final : public SettingsBackend {
public:
    // Opens the key below HKEY_CURRENT_USER, creating it when missing; tests name a key of
    // their own. A key that cannot be opened reads every value as absent.
    explicit RegistrySettings(const std::string& subKey = kRegistryKey);
    ~RegistrySettings() override;

    [[nodiscard]] std::optional<std::string> readString(const std::string& name) const override;
    [[nodiscard]] std::optional<std::int32_t> readInteger(const std::string& name) const override;
    // Registry writes take effect at once; a refused one is remembered for flush().
    void writeString(const std::string& name, const std::string& value) override;
    void writeInteger(const std::string& name, std::int32_t value) override;
    // Reports the first write the registry refused since the last flush.
    [[nodiscard]] WriteStatus flush() override;

    // The key's full name, for messages.
    [[nodiscard]] std::string location() const;

private:
    void store(const std::string& name, const RegistryValue& form);

    void* key_ = nullptr; // an HKEY; kept out of this header with the system's headers
    std::string subKey_;
    std::string openError_;
    std::string writeError_;
};

} // namespace tavrel::platform
