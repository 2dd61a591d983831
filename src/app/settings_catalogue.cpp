// The settings table and the two walks over it.
#include "app/settings_catalogue.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tavrel {

namespace {

inline constexpr Color kClWhite = 0x00FFFFFF;
inline constexpr Color kClLime = 0x0000FF00;
inline constexpr Color kClBlack = 0x00000000;
inline constexpr Color kClWindowText = kSystemColorBase + 8;

using S = AppSettings;

// Rows in SaveSettings' order; the last column gives LoadSettings' order.
std::vector<SettingEntry> makeCatalogue() {
    const FontSpec editorFont{"TavrelLarge", 9, false, false, false, false, kClWhite};
    const FontSpec printFont{"Courier New", 9, false, false, false, false, kClWindowText};
    return {
        {"Options", "Language", &S::language, std::string("Automatic"), 1},
        {"Options", "Font5", &S::editorFont, editorFont, 5},
        {"Options", "PrintFont", &S::printFont, printFont, 6},
        {"Options", "BackColor", &S::backColor, Color{0x004A0000}, 2},
        {"Options", "HLColor", &S::highlightColor, kClLime, 3},
        {"Options", "HLBColor", &S::highlightBackground, kClBlack, 4},
        {"Options", "AskChanges", &S::askChanges, true, 8},
        {"Options", "SameDim", &S::sameDim, false, 9},
        {"Options", "ExitFocus", &S::exitFocus, true, 10},
        {"Options", "Spaces", &S::spaces, false, 11},
        {"Options", "LineNumbers", &S::lineNumbers, false, 12},
        {"Options", "DragDrop", &S::dragDrop, true, 13},
        {"Options", "OnTop", &S::onTop, false, 14},
        {"Options", "Trim", &S::trim, true, 15},
        {"Options", "OneInstance", &S::oneInstance, false, 0},
        {"Options", "AutoWidth", &S::autoWidth, true, 16},
        {"Options", "AutoHeight", &S::autoHeight, false, 17},
        {"Options", "SelectCopy", &S::selectCopy, false, 18},
        {"Options", "HighLight", &S::highLight, true, 19},
        {"Options", "Launch", &S::launch, true, 20},
        {"Options", "Convert", &S::convert, true, 21},
        {"Options", "WordWrap", &S::wordWrap, true, 22},
        // 0 reads each file as it comes (Unicode art decoded); 1 to 4 force code page 437,
        // Windows-1252, UTF-8 or UTF-16 (EncodingChoice).
        {"Options", "Encoding", &S::encoding, std::int32_t{0}, 30},
        {"Options", "CopyUnicode", &S::copyUnicode, false, 31},
        {"Options", "LastPrinter", &S::lastPrinter, std::int32_t{0}, 7},
        {"Options", "Zoom", &S::zoom, std::int32_t{1}, 30},
        {"Find", "Text", &S::findText, std::string(), 23},
        {"Find", "ReplaceText", &S::replaceText, std::string(), 24},
        {"Find", "LastDir", &S::lastDir, std::string(), 0},
        // The dialog's position is read by SizeWindow, with the window's corner + 100.
        {"Find", "Left", &S::findLeft, std::int32_t{0}, 0},
        {"Find", "Top", &S::findTop, std::int32_t{0}, 0},
        {"Window", "", std::monostate{}, std::monostate{}, 0, SettingGroup::Bounds},
        {"Options", "MarginLeft", &S::marginLeft, 0.75, 25},
        {"Options", "MarginRight", &S::marginRight, 0.5, 26},
        {"Options", "MarginTop", &S::marginTop, 0.75, 27},
        {"Options", "MarginBottom", &S::marginBottom, 0.75, 28},
        {kRecentFilesSection, "", std::monostate{}, std::monostate{}, 29,
         SettingGroup::RecentFiles},
    };
}

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

void loadRecentFiles(const ConfigSaver& settings, RecentFiles& recent) {
    for (int n = static_cast<int>(RecentFiles::kMaxItems) - 1; n >= 0; --n) {
        const std::string name = settings.readString(kRecentFilesSection, std::to_string(n), "");
        if (!name.empty()) {
            recent.add(name);
        }
    }
}

void saveRecentFiles(ConfigSaver& settings, const RecentFiles& recent) {
    const auto& items = recent.items();
    for (std::size_t n = 0; n < items.size(); ++n) {
        // A name the INI file could not hold is refused by the store; the old entry stays.
        [[maybe_unused]] const bool written =
            settings.writeString(kRecentFilesSection, std::to_string(n), items[n]);
    }
}

void loadEntry(const SettingEntry& entry, const ConfigSaver& settings, AppSettings& values,
               char decimalSeparator) {
    const std::string_view s = entry.section;
    const std::string_view k = entry.key;
    std::visit(Overloaded{
                   [](std::monostate) {},
                   [&](std::string S::*f) { values.*f = settings.readString(s, k, values.*f); },
                   [&](std::int32_t S::*f) { values.*f = settings.readInteger(s, k, values.*f); },
                   [&](bool S::*f) { values.*f = settings.readBool(s, k, values.*f); },
                   [&](Color S::*f) { values.*f = settings.readColor(s, k, values.*f); },
                   [&](FontSpec S::*f) {
                       settings.readFont(s, k, values.*f, values.*f);
                       (values.*f).points = saneFontPoints((values.*f).points);
                   },
                   [&](double S::*f) {
                       const std::string text =
                           settings.readString(s, k, formatMargin(values.*f, decimalSeparator));
                       values.*f = parseMargin(text).value_or(values.*f);
                   },
               },
               entry.field);
}

void saveEntry(const SettingEntry& entry, ConfigSaver& settings, const AppSettings& values,
               char decimalSeparator) {
    const std::string_view s = entry.section;
    const std::string_view k = entry.key;
    std::visit(Overloaded{
                   [](std::monostate) {},
                   // A text the INI file could not hold is refused; the old entry stays.
                   [&](std::string S::*f) { (void)settings.writeString(s, k, values.*f); },
                   [&](std::int32_t S::*f) { settings.writeInteger(s, k, values.*f); },
                   [&](bool S::*f) { settings.writeBool(s, k, values.*f); },
                   [&](Color S::*f) { settings.writeColor(s, k, values.*f); },
                   [&](FontSpec S::*f) { (void)settings.writeFont(s, k, values.*f); },
                   [&](double S::*f) {
                       (void)settings.writeString(s, k, formatMargin(values.*f, decimalSeparator));
                   },
               },
               entry.field);
}

} // namespace

const std::vector<SettingEntry>& settingsCatalogue() {
    static const std::vector<SettingEntry> catalogue = makeCatalogue();
    return catalogue;
}

AppSettings::AppSettings() {
    for (const SettingEntry& entry : settingsCatalogue()) {
        std::visit(
            [&](auto field) {
                using Field = decltype(field);
                if constexpr (!std::is_same_v<Field, std::monostate>) {
                    using Value = std::remove_reference_t<decltype(this->*field)>;
                    this->*field = std::get<Value>(entry.defaultValue);
                }
            },
            entry.field);
    }
}

void loadSettings(const ConfigSaver& settings, AppSettings& values, RecentFiles& recent,
                  char decimalSeparator) {
    std::vector<const SettingEntry*> order;
    for (const SettingEntry& entry : settingsCatalogue()) {
        if (entry.loadStep > 0) {
            order.push_back(&entry);
        }
    }
    std::sort(order.begin(), order.end(), [](const SettingEntry* a, const SettingEntry* b) {
        return a->loadStep < b->loadStep;
    });
    for (const SettingEntry* entry : order) {
        if (entry->group == SettingGroup::RecentFiles) {
            loadRecentFiles(settings, recent);
        } else {
            loadEntry(*entry, settings, values, decimalSeparator);
        }
    }
}

void saveSettings(ConfigSaver& settings, const AppSettings& values, const RecentFiles& recent,
                  char decimalSeparator, const std::function<void(ConfigSaver&)>& writeBounds) {
    for (const SettingEntry& entry : settingsCatalogue()) {
        switch (entry.group) {
        case SettingGroup::Bounds:
            if (writeBounds) {
                writeBounds(settings);
            }
            break;
        case SettingGroup::RecentFiles:
            saveRecentFiles(settings, recent);
            break;
        case SettingGroup::Single:
            saveEntry(entry, settings, values, decimalSeparator);
            break;
        }
    }
}

std::string formatMargin(double value, char decimalSeparator) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
    std::replace(text.begin(), text.end(), '.', decimalSeparator);
    return text;
}

std::optional<double> parseMargin(std::string_view text) {
    // Both separators are accepted, so a file written under one locale reads under another.
    std::string normal(text);
    std::replace(normal.begin(), normal.end(), ',', '.');
    double value = 0;
    const char* begin = normal.data();
    const char* end = begin + normal.size();
    const auto result = std::from_chars(begin, end, value, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace tavrel
