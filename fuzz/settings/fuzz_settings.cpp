// Feeds arbitrary bytes to the settings store as an INI file (then looks values up, writes
// and flushes to memory) and to the colour and font text parsers, and checks the properties
// the program relies on: a flushed file reads back to the same file, a stored value reads
// back as written, and colour and font texts survive a round trip.
#include "settings/color_text.h"
#include "settings/config_saver.h"
#include "settings/font_text.h"
#include "settings/ini_file.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

void require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

void fuzzIni(std::string_view bytes) {
    std::string flushed;
    tavrel::ConfigSaver store("fuzz.ini", bytes, [&](const std::string&, std::string_view text) {
        flushed = text;
        return tavrel::WriteStatus{};
    });

    // Names and a value cut from the input itself, so that lookups meet what the file holds.
    const std::string_view section = bytes.substr(0, 6);
    const std::string_view key = bytes.substr(bytes.size() > 6 ? 6 : bytes.size(), 6);
    const std::string_view value = bytes.size() > 12 ? bytes.substr(12, 40) : std::string_view();

    for (const auto& [s, k] : {std::pair<std::string_view, std::string_view>{section, key},
                               {"Options", "WordWrap"},
                               {"Options", "Font5"},
                               {"Recent Files", "0"}}) {
        (void)store.readString(s, k, "default");
        (void)store.readInteger(s, k, 7);
        (void)store.readBool(s, k, true);
        (void)store.readColor(s, k, 0x004A0000);
        tavrel::FontSpec font{"TavrelLarge", 9, false, false, false, false, 0x00FFFFFF};
        store.readFont(s, k, font, font);
    }

    if (store.writeString(section, key, value)) {
        require(store.readString(section, key, "") == value);
    }
    store.writeInteger("Info", "Count", static_cast<std::int32_t>(bytes.size()));
    require(store.readInteger("Info", "Count", -1) == static_cast<std::int32_t>(bytes.size()));

    require(store.flush().ok());
    require(tavrel::IniFile::parse(flushed).toText() == flushed);
}

void fuzzColor(std::string_view text) {
    if (const auto color = tavrel::parseColorText(text)) {
        require(tavrel::parseColorText(tavrel::colorToText(*color)) == color);
    }
}

void fuzzFont(std::string_view text) {
    tavrel::FontSpec font;
    try {
        tavrel::parseFontText(text, font);
    } catch (const tavrel::FontConversionError&) {
        return;
    }
    tavrel::FontSpec again;
    tavrel::parseFontText(tavrel::fontToText(font), again);
    require(again == font);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    fuzzIni(bytes);
    fuzzColor(bytes);
    fuzzFont(bytes);
    return 0;
}
