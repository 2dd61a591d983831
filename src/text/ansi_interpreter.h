// ANSI art drawn as a DOS screen with ANSI.SYS would draw it: code page 437 bytes, the
// colour and cursor escape sequences, onto an AnsiScreen.
#pragma once

#include "text/ansi_screen.h"

#include <cstddef>
#include <string_view>

namespace tavrel {

struct AnsiOptions {
    int width = 80;                  // columns; at most kAnsiMaxWidth
    bool iceColours = false;         // blink (SGR 5) gives a bright background instead
    std::size_t maxCells = 8u << 20; // bounds the screen's memory: rows = maxCells / width
};

inline constexpr int kAnsiMaxWidth = 4096;

// Draws `text` (the file's text, without its SAUCE record). Every byte is a glyph except
// line feed (next row, first column), carriage return (ignored: art ends its lines with
// CR LF or LF alike), tab (next multiple of eight), Ctrl+Z (the end of the text) and ESC,
// which starts a sequence: CSI sequences (ESC '[' parameters final) are carried out when
// known (SGR m, cursor A B C D H f s u, erase J K) and skipped otherwise; a lone ESC is
// dropped. Moves stop at the edges (C one column past the right one, where any next byte
// wraps); H and f count from 1, 0 meaning 1. Never reads past `text` and never grows the screen
// past `maxCells`.
[[nodiscard]] AnsiScreen interpretAnsi(std::string_view text, const AnsiOptions& options = {});

} // namespace tavrel
