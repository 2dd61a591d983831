// The typed settings operations and how each maps onto the INI file or the native store.
#include "settings/config_saver.h"

#include "settings/color_text.h"
#include "settings/number_text.h"
#include "text/file_names.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace tavrel {

namespace {

[[nodiscard]] std::string nativeName(std::string_view section, std::string_view key) {
    std::string name;
    name.reserve(section.size() + 1 + key.size());
    name.append(section).append("_").append(key);
    return name;
}

struct LoadedFile {
    std::string bytes;
    std::string error; // empty when read or absent
};

// A missing file is an empty store; any other failure is reported to the caller. Only a
// regular file is opened: reading a FIFO would wait for a writer for ever.
[[nodiscard]] LoadedFile loadFile(const std::string& path) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(pathFromUtf8(path), ec);
    if (status.type() == std::filesystem::file_type::not_found) {
        return {};
    }
    if (ec) {
        return {{}, path + ": " + ec.message()};
    }
    if (!std::filesystem::is_regular_file(status)) {
        return {{}, path + " is not a regular file"};
    }
    LoadedFile loaded;
    std::FILE* file = openFile(path, "rb");
    if (file == nullptr) {
        loaded.error = path + ": " + std::strerror(errno);
        return loaded;
    }
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        loaded.bytes.append(buffer, got);
    }
    if (std::ferror(file) != 0) {
        loaded.error = path + ": " + std::strerror(errno);
        loaded.bytes.clear();
    }
    std::fclose(file);
    return loaded;
}

} // namespace

std::unique_ptr<ConfigSaver> ConfigSaver::openIni(const std::string& path, FileWriter writer) {
    LoadedFile loaded = loadFile(path);
    auto saver = std::make_unique<ConfigSaver>(path, loaded.bytes, std::move(writer));
    saver->loadError_ = std::move(loaded.error);
    return saver;
}

ConfigSaver::ConfigSaver(std::string path, std::string_view iniText, FileWriter writer)
    : ini_(IniFile::parse(iniText)), iniPath_(std::move(path)), writer_(std::move(writer)) {}

ConfigSaver::ConfigSaver(std::unique_ptr<SettingsBackend> native) : native_(std::move(native)) {}

ConfigSaver::~ConfigSaver() = default;

std::optional<std::string> ConfigSaver::readRaw(std::string_view section,
                                                std::string_view key) const {
    if (native_ != nullptr) {
        return native_->readString(nativeName(section, key));
    }
    if (const auto value = ini_.value(section, key)) {
        return std::string(*value);
    }
    return std::nullopt;
}

std::string ConfigSaver::readString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
    return readRaw(section, key).value_or(std::string(defaultValue));
}

std::int32_t ConfigSaver::readInteger(std::string_view section, std::string_view key,
                                      std::int32_t defaultValue) const {
    if (native_ != nullptr) {
        return native_->readInteger(nativeName(section, key)).value_or(defaultValue);
    }
    const auto stored = ini_.value(section, key);
    if (!stored) {
        return defaultValue;
    }
    std::string text(*stored);
    // Hexadecimal written the C way is accepted as well as with "$".
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.replace(0, 2, "$");
    }
    return parseInteger(text).value_or(defaultValue);
}

bool ConfigSaver::readBool(std::string_view section, std::string_view key,
                           bool defaultValue) const {
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

Color ConfigSaver::readColor(std::string_view section, std::string_view key,
                             Color defaultValue) const {
    const auto stored = readRaw(section, key);
    if (!stored) {
        return defaultValue;
    }
    return parseColorText(*stored).value_or(defaultValue);
}

void ConfigSaver::readFont(std::string_view section, std::string_view key, FontSpec& target,
                           const FontSpec& defaultValue) const {
    const FontSpec fallback = defaultValue; // target may be defaultValue itself
    const std::string text = readString(section, key, fontToText(fallback));
    try {
        parseFontText(text, target);
    } catch (const FontConversionError&) {
        target = fallback;
    }
}

bool ConfigSaver::writeString(std::string_view section, std::string_view key,
                              std::string_view value) {
    if (native_ != nullptr) {
        native_->writeString(nativeName(section, key), std::string(value));
        return true;
    }
    return ini_.setValue(section, key, value);
}

void ConfigSaver::writeInteger(std::string_view section, std::string_view key, std::int32_t value) {
    if (native_ != nullptr) {
        native_->writeInteger(nativeName(section, key), value);
        return;
    }
    ini_.setValue(section, key, std::to_string(value));
}

void ConfigSaver::writeBool(std::string_view section, std::string_view key, bool value) {
    writeInteger(section, key, value ? 1 : 0);
}

void ConfigSaver::writeColor(std::string_view section, std::string_view key, Color value) {
    writeString(section, key, colorToText(value));
}

bool ConfigSaver::writeFont(std::string_view section, std::string_view key, const FontSpec& value) {
    return writeString(section, key, fontToText(value));
}

WriteStatus ConfigSaver::flush() {
    if (native_ != nullptr) {
        return native_->flush();
    }
    if (!loadError_.empty()) {
        return {"The settings file could not be read when the program started, so it was "
                "not replaced (" +
                loadError_ + ")."};
    }
    if (!writer_) {
        return {"No way to write the settings file " + iniPath_ + " was given."};
    }
    return writer_(iniPath_, ini_.toText());
}

} // namespace tavrel
