// The display's glyph per byte and the clipboard's text in those glyphs.
#include "text/seen_text.h"

#include "text/code_page.h"
#include "text/cp437.h"
#include "text/unicode_art.h"

namespace tavrel {
namespace {

[[nodiscard]] constexpr bool shapesText(char c) noexcept {
    return c == '\t' || c == '\n' || c == '\r';
}

} // namespace

char16_t displayedChar(std::uint8_t byte, ByteGlyphs glyphs) noexcept {
    if (glyphs == ByteGlyphs::Windows1252 && byte >= 128) {
        return codePageByteToWide(byte);
    }
    return cp437ToUnicode(byte);
}

std::u16string bytesAsSeen(std::string_view bytes, ByteGlyphs glyphs) {
    std::u16string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        text.push_back(shapesText(c) ? static_cast<char16_t>(c)
                                     : displayedChar(static_cast<std::uint8_t>(c), glyphs));
    }
    return text;
}

std::string bytesFromSeen(std::u16string_view text, ByteGlyphs glyphs) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i];
        std::optional<std::uint8_t> byte;
        if (glyphs == ByteGlyphs::Windows1252) {
            byte = wideToCodePageByte(ch);
        }
        if (!byte) {
            byte = cp437ByteFor(ch);
        }
        if (byte) {
            bytes.push_back(static_cast<char>(*byte));
        } else if (ch >= 0xDC00 && ch <= 0xDFFF && i > 0 && text[i - 1] >= 0xD800 &&
                   text[i - 1] <= 0xDBFF) {
            // the second half of a pair: its first half already gave the one '?'
        } else {
            bytes += wideToCodePage(std::u16string_view(&text[i], 1));
        }
    }
    return bytes;
}

} // namespace tavrel
