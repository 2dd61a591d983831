// The settings a printout is made with, read from the program's settings in one place so
// that Print, Print Preview and "--export-pdf" can never lay a file out differently.
#pragma once

#include <QColor>
#include <QFont>

#include "print/print_settings.h"

#include <cstdint>

namespace tavrel {

struct AppSettings;

// The columns and line numbers chosen in the preview: they stay for every later Print and
// preview until the program ends, and are never saved with the settings.
struct PrintChoices {
    std::int32_t columns = 1;
    bool lineNumbers = false;
};

// Margins from the settings, columns and line numbers from the session's choices,
// everything else the printing's own defaults.
[[nodiscard]] PrintSettings printSettingsFrom(const AppSettings& settings,
                                              const PrintChoices& choices = {});
// The print font setting as a font (its family resolved only when drawing).
[[nodiscard]] QFont printFontFrom(const AppSettings& settings);
// The text colour on paper: the print font's colour; a colour that follows the desktop's
// theme would follow it to white on a dark desktop, so those print black.
[[nodiscard]] QColor printColorFrom(const AppSettings& settings);

} // namespace tavrel
