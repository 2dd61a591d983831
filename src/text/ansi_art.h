// An ANSI art file as the window and the exports will show it: its SAUCE record, and its
// text drawn at the record's width and colours.
#pragma once

#include "text/ansi_interpreter.h"
#include "text/ansi_screen.h"
#include "text/sauce.h"

#include <optional>
#include <string_view>

namespace tavrel {

struct AnsiArt {
    std::optional<SauceRecord> sauce;
    AnsiScreen screen;
};

// Draws the file's text (what comes before its end-of-file mark and record) at the record's
// width (80 columns when it gives none) with bright backgrounds when it asks for iCE colours.
// `base` carries the limits; its width and iCE choice are the defaults the record overrides.
[[nodiscard]] AnsiArt renderAnsiArt(std::string_view file, AnsiOptions base = {});

// True when the file is ANSI art: its record says so (character data of type ANSi or
// ANSiMation), its name ends in ".ans" (any case), or it holds an ANSI sequence (ESC '['
// digits and ';' then one of m H f A B C D J K s u).
[[nodiscard]] bool isAnsiArt(std::string_view fileName, std::string_view file);

} // namespace tavrel
