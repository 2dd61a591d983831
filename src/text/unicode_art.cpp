// Decoding Unicode art into code page 437 bytes and encoding it back. The decoder is run
// on every file the window loads, so its ASCII path moves eight bytes per step: a plain
// code page 437 file stops at its first byte that is not valid UTF-8, a plain ASCII file
// costs one read of its bytes.
#include "text/unicode_art.h"

#include "text/cp437.h"
#include "text/utf8_codec.h"

#include <array>
#include <cstring>
#include <utility>

namespace tavrel {
namespace {

constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// The byte of every character below U+2700, where all code page 437 glyphs lie, or -1: one
// load per character, which keeps the decoding of box and block art near memory speed.
constexpr char32_t kGlyphLimit = 0x2700;

struct ReverseTable {
    std::array<std::int16_t, kGlyphLimit> byChar{};

    ReverseTable() {
        byChar.fill(-1);
        for (int b = 0; b < 128; ++b) {
            byChar[b] = static_cast<std::int16_t>(b);
        }
        for (int b = 1; b < 256; ++b) {
            if (b >= 32 && b < 127) {
                continue;
            }
            byChar[cp437ToUnicode(static_cast<std::uint8_t>(b))] = static_cast<std::int16_t>(b);
        }
    }
};

const ReverseTable& reverseTable() {
    static const ReverseTable table;
    return table;
}

// The bit of `glyphForms` that speaks for `byte`, or 0 for a byte with only one form.
constexpr std::uint64_t formBit(std::uint8_t byte) noexcept {
    if (byte < 32) {
        return std::uint64_t{1} << byte;
    }
    return byte == 127 ? std::uint64_t{1} << 32 : 0;
}

// Collects what the decoded text needs beyond its bytes: which of the two forms each
// control-range byte came in.
struct FormTracker {
    std::uint64_t asGlyph = 0;
    std::uint64_t asControl = 0;

    // A character beyond ASCII decoded to `byte`.
    void glyph(std::uint8_t byte) noexcept { asGlyph |= formBit(byte); }
    // Every control byte that stands in the text as itself.
    void controlsIn(std::string_view ascii) noexcept {
        for (const char c : ascii) {
            asControl |= formBit(static_cast<std::uint8_t>(c));
        }
    }
    [[nodiscard]] bool consistent() const noexcept { return (asGlyph & asControl) == 0; }
    [[nodiscard]] std::uint64_t forms() const noexcept {
        return (UnicodeForm::kDefaultGlyphForms & ~asControl) | asGlyph;
    }
};

[[nodiscard]] LineEndStyle lineEndStyleOf(std::string_view text) noexcept {
    std::size_t crLf = 0;
    std::size_t lf = 0;
    std::size_t cr = 0;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (text[i] == '\r') {
            if (i + 1 < n && text[i + 1] == '\n') {
                ++crLf;
                ++i;
            } else {
                ++cr;
            }
        } else if (text[i] == '\n') {
            ++lf;
        }
    }
    if (crLf == 0 && cr == 0 && lf > 0) {
        return LineEndStyle::Lf;
    }
    if (crLf == 0 && lf == 0 && cr > 0) {
        return LineEndStyle::Cr;
    }
    return LineEndStyle::CrLf;
}

// Length of the run of ASCII bytes at the start of [p, end), eight bytes per step.
[[nodiscard]] std::size_t asciiRun(const unsigned char* p, const unsigned char* end) noexcept {
    const unsigned char* q = p;
    while (end - q >= 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, q, 8);
        if ((word & kHighBits) != 0) {
            break;
        }
        q += 8;
    }
    while (q < end && *q < 0x80) {
        ++q;
    }
    return static_cast<std::size_t>(q - p);
}

[[nodiscard]] bool hasUtf8Mark(std::string_view bytes) noexcept {
    return bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
}

[[nodiscard]] bool hasUtf16Mark(std::string_view bytes) noexcept {
    return bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                                 (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
}

// Finishes a decoded text: the control forms and the line ends.
// The glyphs of CR and LF (the note and the inverse circle) would turn into line breaks
// in the document, so a file holding them could not be written back as it was.
constexpr std::uint64_t kLineBreakBits = formBit('\r') | formBit('\n');

[[nodiscard]] std::optional<DecodedText> finishDecoded(DecodedText decoded, FormTracker& forms) {
    if (!forms.consistent() || (forms.asGlyph & kLineBreakBits) != 0) {
        return std::nullopt;
    }
    decoded.form.glyphForms = forms.forms();
    decoded.form.lineEnds = lineEndStyleOf(decoded.bytes);
    return decoded;
}

} // namespace

std::optional<std::uint8_t> cp437ByteFor(char32_t ch) noexcept {
    if (ch >= kGlyphLimit) {
        return std::nullopt;
    }
    const std::int16_t b = reverseTable().byChar[ch];
    return b < 0 ? std::nullopt : std::optional<std::uint8_t>(static_cast<std::uint8_t>(b));
}

char16_t unicodeForByte(std::uint8_t byte, const UnicodeForm& form) noexcept {
    const std::uint64_t bit = formBit(byte);
    if (bit != 0 && (form.glyphForms & bit) == 0) {
        return byte; // the control code itself
    }
    return cp437ToUnicode(byte);
}

std::optional<std::uint8_t> byteForUnicode(char32_t ch, const UnicodeForm& form) noexcept {
    const std::optional<std::uint8_t> byte = cp437ByteFor(ch);
    if (!byte || unicodeForByte(*byte, form) != ch) {
        return std::nullopt;
    }
    return byte;
}

namespace {

// One character of strict UTF-8 at p (no overlong forms, no encoded surrogates) as its code
// page 437 byte, with its length; nothing when it is invalid or has no glyph. Four-byte
// characters are valid UTF-8 but lie beyond every glyph.
[[nodiscard]] std::optional<std::uint8_t> glyphAt(const unsigned char* p, const unsigned char* end,
                                                  int& length) noexcept {
    const unsigned char lead = *p;
    char32_t ch = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        ch = lead & 0x1F;
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        ch = lead & 0x0F;
        length = 3;
    } else {
        return std::nullopt;
    }
    if (end - p < length) {
        return std::nullopt;
    }
    for (int k = 1; k < length; ++k) {
        if ((p[k] & 0xC0) != 0x80) {
            return std::nullopt;
        }
        ch = (ch << 6) | (p[k] & 0x3F);
    }
    if (length == 3 && (ch < 0x800 || (ch >= 0xD800 && ch <= 0xDFFF))) {
        return std::nullopt;
    }
    return cp437ByteFor(ch);
}

// Whether an ASCII word (every top bit clear) holds a byte below 32 or the byte 127. Bytes
// after a hit may read as hits too; the caller then looks at each byte anyway.
[[nodiscard]] constexpr bool hasControl(std::uint64_t word) noexcept {
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    const std::uint64_t below = (word - ones * 0x20) & ~word & kHighBits;
    const std::uint64_t del = word ^ (ones * 0x7F);
    const std::uint64_t isDel = (del - ones) & ~del & kHighBits;
    return (below | isDel) != 0;
}

// UTF-8 decoding once the first `ascii` bytes after the mark are known to be ASCII. The loop
// is the cost of opening a Unicode art file: eight ASCII bytes per step, one table load per
// glyph, writes through a pointer.
std::optional<DecodedText> decodeUtf8After(std::string_view bytes, std::size_t ascii) {
    DecodedText decoded;
    decoded.form.encoding = TextEncoding::Utf8;
    decoded.form.byteOrderMark = hasUtf8Mark(bytes);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    if (decoded.form.byteOrderMark) {
        p += 3;
    }
    // A code page 437 file fails at its first high byte: that is tried before the output,
    // never longer than the input, is made.
    int length = 0;
    if (p + ascii < end && !glyphAt(p + ascii, end, length)) {
        return std::nullopt;
    }
    std::string& out = decoded.bytes;
    out.resize(static_cast<std::size_t>(end - p));
    char* w = out.data();
    FormTracker forms;
    while (p < end) {
        if (end - p >= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, p, 8);
            if ((word & kHighBits) == 0) {
                std::memcpy(w, p, 8);
                if (hasControl(word)) {
                    forms.controlsIn(std::string_view(w, 8));
                }
                w += 8;
                p += 8;
                continue;
            }
        }
        if (*p < 0x80) {
            forms.asControl |= formBit(*p);
            *w++ = static_cast<char>(*p++);
            continue;
        }
        const std::optional<std::uint8_t> byte = glyphAt(p, end, length);
        if (!byte) {
            return std::nullopt;
        }
        forms.glyph(*byte);
        *w++ = static_cast<char>(*byte);
        p += length;
    }
    out.resize(static_cast<std::size_t>(w - out.data()));
    return finishDecoded(std::move(decoded), forms);
}

} // namespace

std::optional<DecodedText> decodeUtf8Art(std::string_view bytes) {
    // The first check looks at the first byte that is not ASCII: a text that begins with
    // ASCII letters is as much UTF-8 as one that begins with a glyph.
    const std::size_t mark = hasUtf8Mark(bytes) ? 3 : 0;
    const auto* begin = reinterpret_cast<const unsigned char*>(bytes.data());
    return decodeUtf8After(bytes, asciiRun(begin + mark, begin + bytes.size()));
}

std::optional<DecodedText> decodeUtf16Art(std::string_view bytes) {
    DecodedText decoded;
    bool bigEndian = false;
    std::size_t start = 0;
    if (hasUtf16Mark(bytes)) {
        bigEndian = bytes[0] == '\xFE';
        decoded.form.byteOrderMark = true;
        start = 2;
    }
    if ((bytes.size() - start) % 2 != 0) {
        return std::nullopt;
    }
    decoded.form.encoding = bigEndian ? TextEncoding::Utf16Be : TextEncoding::Utf16Le;
    std::string& out = decoded.bytes;
    out.resize((bytes.size() - start) / 2);
    FormTracker forms;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + start;
    for (char& slot : out) {
        const char16_t unit = bigEndian ? static_cast<char16_t>((p[0] << 8) | p[1])
                                        : static_cast<char16_t>((p[1] << 8) | p[0]);
        p += 2;
        // A surrogate, paired or not, is never a code page 437 glyph.
        const std::optional<std::uint8_t> byte = cp437ByteFor(unit);
        if (!byte) {
            return std::nullopt;
        }
        if (unit < 128) {
            forms.asControl |= formBit(*byte);
        } else {
            forms.glyph(*byte);
        }
        slot = static_cast<char>(*byte);
    }
    return finishDecoded(std::move(decoded), forms);
}

DecodedText decodeUnicodeArt(std::string bytes) {
    if (hasUtf16Mark(bytes)) {
        if (std::optional<DecodedText> decoded = decodeUtf16Art(bytes)) {
            return std::move(*decoded);
        }
        return DecodedText{{}, std::move(bytes)};
    }
    // Plain ASCII is not Unicode art: it reads the same either way and stays as it is.
    const std::size_t mark = hasUtf8Mark(bytes) ? 3 : 0;
    const auto* begin = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t ascii = asciiRun(begin + mark, begin + bytes.size());
    if (mark == 0 && ascii == bytes.size()) {
        return DecodedText{{}, std::move(bytes)};
    }
    if (std::optional<DecodedText> decoded = decodeUtf8After(bytes, ascii)) {
        return std::move(*decoded);
    }
    return DecodedText{{}, std::move(bytes)};
}

DecodedText decodeAsChosen(std::string bytes, EncodingChoice choice) {
    std::optional<DecodedText> decoded;
    switch (choice) {
    case EncodingChoice::Automatic:
    case EncodingChoice::PlainText:
        return decodeUnicodeArt(std::move(bytes));
    case EncodingChoice::Cp437:
    case EncodingChoice::Windows1252:
        break;
    case EncodingChoice::Utf8:
        decoded = decodeUtf8Art(bytes);
        break;
    case EncodingChoice::Utf16:
        decoded = decodeUtf16Art(bytes);
        break;
    }
    if (decoded) {
        return std::move(*decoded);
    }
    return DecodedText{{}, std::move(bytes)};
}

// --- Writing back ----------------------------------------------------------------------------

void UnicodeEncoder::put(char16_t ch, std::string& out) const {
    switch (form_.encoding) {
    case TextEncoding::Bytes:
        out.push_back(static_cast<char>(ch));
        break;
    case TextEncoding::Utf8:
        appendUtf8(ch, out);
        break;
    case TextEncoding::Utf16Le:
        out.push_back(static_cast<char>(ch & 0xFF));
        out.push_back(static_cast<char>(ch >> 8));
        break;
    case TextEncoding::Utf16Be:
        out.push_back(static_cast<char>(ch >> 8));
        out.push_back(static_cast<char>(ch & 0xFF));
        break;
    }
}

void UnicodeEncoder::putBreak(std::string& out) const {
    if (form_.lineEnds != LineEndStyle::Lf) {
        put(u'\r', out);
    }
    if (form_.lineEnds != LineEndStyle::Cr) {
        put(u'\n', out);
    }
}

void UnicodeEncoder::encode(std::string_view piece, std::string& out) {
    if (!started_) {
        started_ = true;
        if (form_.byteOrderMark) {
            put(u'\uFEFF', out);
        }
    }
    for (const char c : piece) {
        if (pendingCr_) {
            pendingCr_ = false;
            if (c == '\n') {
                putBreak(out);
                continue;
            }
            put(unicodeForByte('\r', form_), out);
        }
        if (c == '\r') {
            pendingCr_ = true;
            continue;
        }
        put(unicodeForByte(static_cast<std::uint8_t>(c), form_), out);
    }
}

void UnicodeEncoder::finish(std::string& out) {
    encode({}, out); // the mark of an empty text
    if (pendingCr_) {
        pendingCr_ = false;
        put(unicodeForByte('\r', form_), out);
    }
}

std::string encodeUnicodeArt(std::string_view bytes, const UnicodeForm& form) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    UnicodeEncoder encoder(form);
    encoder.encode(bytes, out);
    encoder.finish(out);
    return out;
}

} // namespace tavrel
