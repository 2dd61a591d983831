// ConfigSaver: the one object through which the program reads and writes its settings,
// with typed operations over two backends: an INI file beside the program (portable mode)
// or the per-user native store. Every setting is addressed by a section and a key.
#pragma once

#include "settings/color.h"
#include "settings/font_text.h"
#include "settings/ini_file.h"
#include "settings/settings_backend.h"
#include "settings/write_status.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace tavrel {

// Replaces the file at path with bytes as one step (the platform layer's atomic writer).
using FileWriter = std::function<WriteStatus(const std::string& path, std::string_view bytes)>;

class ConfigSaver {
public:
    // INI mode on the file at path; a missing file gives an empty store. The writer is used
    // by flush().
    [[nodiscard]] static std::unique_ptr<ConfigSaver> openIni(const std::string& path,
                                                              FileWriter writer);
    // INI mode on text already in memory; flush() hands the new text to writer with path.
    ConfigSaver(std::string path, std::string_view iniText, FileWriter writer);
    // Native mode.
    explicit ConfigSaver(std::unique_ptr<SettingsBackend> native);

    ConfigSaver(const ConfigSaver&) = delete; // owns the one in-memory copy of the settings
    ConfigSaver& operator=(const ConfigSaver&) = delete;
    ~ConfigSaver();

    [[nodiscard]] std::string readString(std::string_view section, std::string_view key,
                                         std::string_view defaultValue) const;
    [[nodiscard]] std::int32_t readInteger(std::string_view section, std::string_view key,
                                           std::int32_t defaultValue) const;
    [[nodiscard]] bool readBool(std::string_view section, std::string_view key,
                                bool defaultValue) const;
    [[nodiscard]] Color readColor(std::string_view section, std::string_view key,
                                  Color defaultValue) const;
    // On a malformed text, target becomes a copy of defaultValue as it was before the read
    // (target and defaultValue may be the same object).
    void readFont(std::string_view section, std::string_view key, FontSpec& target,
                  const FontSpec& defaultValue) const;

    // In INI mode an entry the file could not give back as written (a text holding a line
    // break, for one) is refused: the write answers false and the old entry stays.
    bool writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, std::int32_t value);
    void writeBool(std::string_view section, std::string_view key, bool value);
    void writeColor(std::string_view section, std::string_view key, Color value);
    bool writeFont(std::string_view section, std::string_view key, const FontSpec& value);

    // INI mode: rewrites the whole file. Native mode: makes the writes durable. Never throws;
    // a failure comes back as a message.
    [[nodiscard]] WriteStatus flush();

    [[nodiscard]] bool usesIni() const noexcept { return native_ == nullptr; }
    // The text flush() writes in INI mode.
    [[nodiscard]] std::string iniText() const { return ini_.toText(); }

private:
    [[nodiscard]] std::optional<std::string> readRaw(std::string_view section,
                                                     std::string_view key) const;

    std::unique_ptr<SettingsBackend> native_;
    IniFile ini_;
    std::string iniPath_;
    FileWriter writer_;
    // Set when the INI file existed but could not be read: flush then refuses to replace
    // settings it never saw.
    std::string loadError_;
};

} // namespace tavrel
