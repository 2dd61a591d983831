// Every setting the main window keeps, in one table: section, key, type, default and its
// place in the two walks that read the settings when the window is created and write them
// when it closes. The orders matter beyond taste: a fresh INI file gets its sections in the
// order they are first written (Info, Options, Find, Window, the file class, Recent Files).
#pragma once

#include "app/recent_files.h"
#include "settings/color.h"
#include "settings/config_saver.h"
#include "settings/font_text.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tavrel {

// The values the settings hold while the program runs. A default-made object holds the
// catalogue's defaults.
struct AppSettings {
    AppSettings();

    std::string language;
    FontSpec editorFont; // Options/Font5
    FontSpec printFont;
    Color backColor = 0;
    Color highlightColor = 0;
    Color highlightBackground = 0;
    bool askChanges = false;
    bool sameDim = false;
    bool exitFocus = false;
    bool spaces = false;
    bool lineNumbers = false;
    bool dragDrop = false;
    bool onTop = false;
    bool trim = false;
    bool oneInstance = false; // read by start-up, not by loadSettings
    bool autoWidth = false;
    bool autoHeight = false;
    bool selectCopy = false;
    bool highLight = false;
    bool launch = false;
    bool convert = false;
    bool wordWrap = false;
    std::int32_t encoding = 0; // an EncodingChoice; out-of-range values read as Automatic
    bool copyUnicode = false;  // the clipboard gets the code page 437 glyphs as Unicode
    std::int32_t zoom = 1;     // whole multiples of the font's size, 1 to 8
    std::int32_t lastPrinter = 0;
    std::string findText;
    std::string replaceText;
    std::string lastDir;       // written, never read back: each run starts without one
    std::int32_t findLeft = 0; // the find dialog's position, placed by SizeWindow
    std::int32_t findTop = 0;
    double marginLeft = 0;
    double marginRight = 0;
    double marginTop = 0;
    double marginBottom = 0;
};

// Entries that are not one value: the window bounds (SaveBounds) and the recent files.
enum class SettingGroup : std::uint8_t { Single, Bounds, RecentFiles };

using SettingField =
    std::variant<std::monostate, std::string AppSettings::*, std::int32_t AppSettings::*,
                 bool AppSettings::*, Color AppSettings::*, FontSpec AppSettings::*,
                 double AppSettings::*>;
using SettingValue =
    std::variant<std::monostate, std::string, std::int32_t, bool, Color, FontSpec, double>;

// One row. The field's type is the setting's type; a double is a margin, stored as a decimal
// text. loadStep is the row's place in loadSettings' order, 0 for rows it does not read.
struct SettingEntry {
    std::string_view section;
    std::string_view key;
    SettingField field;
    SettingValue defaultValue;
    int loadStep = 0;
    SettingGroup group = SettingGroup::Single;
};

// The table, in the order saveSettings writes it.
[[nodiscard]] const std::vector<SettingEntry>& settingsCatalogue();

inline constexpr std::string_view kRecentFilesSection = "Recent Files";

// The version mark written first at every save and never read: the settings' format.
inline constexpr std::string_view kVersionSection = "Info";
inline constexpr std::string_view kVersionKey = "Version";
inline constexpr std::string_view kSettingsVersionMark = "4.2";

// Reads every setting the window loads, in its order, each with the running value as its
// default. Stored recent files go through recent.add from entry 8 down to entry 0, so entry
// 0 ends at the top and vanished files are skipped. `decimalSeparator` is the system's.
void loadSettings(const ConfigSaver& settings, AppSettings& values, RecentFiles& recent,
                  char decimalSeparator);

// Writes every setting in its order. At the bounds' place it calls writeBounds (SaveBounds);
// the version mark before and the flush after are start-up's part.
void saveSettings(ConfigSaver& settings, const AppSettings& values, const RecentFiles& recent,
                  char decimalSeparator, const std::function<void(ConfigSaver&)>& writeBounds);

// A margin as the settings keep it: general format with up to 15 significant digits and the
// system's decimal separator ("0.75" or "0,75").
[[nodiscard]] std::string formatMargin(double value, char decimalSeparator);

// A margin text written under either decimal separator; nothing when it is not a finite
// decimal number (the caller keeps its default then).
[[nodiscard]] std::optional<double> parseMargin(std::string_view text);

} // namespace tavrel
