// The document in the window's glyphs, as UTF-8, a piece at a time.
#include "app/terminal_text.h"

#include "text/utf8_codec.h"

#include <algorithm>
#include <string>

namespace tavrel {

namespace {

// A piece of this many bytes of text becomes at most three times as many bytes of UTF-8.
constexpr std::size_t kPieceBytes = 16 * 1024;

} // namespace

bool writeAsSeen(const Document& document, ByteGlyphs glyphs, const Document::Sink& sink) {
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
