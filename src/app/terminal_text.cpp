// The document in the window's glyphs, as UTF-8, a piece at a time.
#include "app/terminal_text.h"

#include "text/utf8_codec.h"

#include <algorithm>
#include <string>

namespace tavrel {

namespace {

// A piece of this many bytes of text becomes at most three times as many bytes of UTF-8.
constexpr std::size_t kPieceBytes = 16 * 1024;

// The terminal's sequence for a cell's colours: 30-37 and 40-47, the bright ones 90-97 and
// 100-107 (the screen's colour indexes are in SGR order already).
std::string sgrFor(const AnsiCell& cell) {
    const auto code = [](std::uint8_t index, int normal, int bright) {
        return std::to_string(index < 8 ? normal + index : bright + index - 8);
    };
    return "\x1B[0;" + code(cell.foreground, 30, 90) + ';' + code(cell.background, 40, 100) + 'm';
}

// One row of ANSI art: its glyphs, a sequence wherever the colours change.
void appendColouredRow(std::string_view text, const AnsiScreen& screen, std::size_t row,
                       ByteGlyphs glyphs, std::string& out) {
    const std::size_t cells = std::min<std::size_t>(text.size(), screen.width());
    const AnsiCell* last = nullptr;
    for (std::size_t column = 0; column < cells; ++column) {
        const AnsiCell& cell = screen.at(row, static_cast<int>(column));
        if (last == nullptr || cell.foreground != last->foreground ||
            cell.background != last->background) {
            out += sgrFor(cell);
            last = &cell;
        }
        out += wideToUtf8(bytesAsSeen(text.substr(column, 1), glyphs));
    }
    out += wideToUtf8(bytesAsSeen(text.substr(cells), glyphs));
    if (last != nullptr) {
        out += "\x1B[0m";
    }
}

} // namespace

bool writeAsSeen(const Document& document, ByteGlyphs glyphs, const Document::Sink& sink,
                 const AnsiScreen* screen) {
    std::string out;
    out.reserve(3 * kPieceBytes + 2);
    const auto flush = [&out, &sink] {
        const bool written = out.empty() || sink(out.data(), out.size());
        out.clear();
        return written;
    };
    const Pos count = document.paragraphCount();
    for (Pos p = 0; p < count; ++p) {
        // Around an edited paragraph's gap: the document is only looked at.
        const Document::Halves halves = document.paragraphHalves(p);
        if (screen != nullptr && static_cast<std::size_t>(p) < screen->rows()) {
            std::string row(halves.first);
            row += halves.second;
            appendColouredRow(row, *screen, static_cast<std::size_t>(p), glyphs, out);
            if (p + 1 < count) {
                out += "\r\n";
            }
            if (out.size() >= 2 * kPieceBytes && !flush()) {
                return false;
            }
            continue;
        }
        for (const std::string_view text : {halves.first, halves.second}) {
            for (std::size_t at = 0; at < text.size(); at += kPieceBytes) {
                out += wideToUtf8(bytesAsSeen(text.substr(at, kPieceBytes), glyphs));
                if (out.size() >= 2 * kPieceBytes && !flush()) {
                    return false;
                }
            }
        }
        if (p + 1 < count) {
            out += "\r\n";
        }
    }
    return flush();
}

} // namespace tavrel
