// Text art saved as Unicode (UTF-8, or UTF-16 with a byte-order mark) after a conversion from
// code page 437: recognised, turned back into the code page 437 bytes the display shows, and
// written again in the file's own encoding, line ends and forms, byte for byte.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavrel {

enum class TextEncoding : std::uint8_t {
    Bytes,   // the file's bytes are the document's bytes
    Utf8,    // the document holds the code page 437 bytes of a UTF-8 file
    Utf16Le, // ... of a UTF-16 file, least significant byte first
    Utf16Be, // ... most significant byte first
};

enum class LineEndStyle : std::uint8_t { CrLf, Lf, Cr };

// How a decoded file wrote what the document now holds as code page 437 bytes.
struct UnicodeForm {
    TextEncoding encoding = TextEncoding::Bytes;
    bool byteOrderMark = false;
    // The paragraph break the file used throughout; a file with mixed breaks gets CR LF.
    LineEndStyle lineEnds = LineEndStyle::CrLf;
    // Bytes 0 to 31 and 127 stand for two characters each: the control code and the PC's
    // glyph (1 is U+0001 and the smiley U+263A). Bit b (bit 32 for byte 127) set: the byte is
    // written as its glyph. A file uses one form per byte; bytes it never used take the
    // glyph, except tab, line feed and carriage return, which stay controls.
    std::uint64_t glyphForms = kDefaultGlyphForms;

    static constexpr std::uint64_t kDefaultGlyphForms =
        ((std::uint64_t{1} << 33) - 1) & ~((std::uint64_t{1} << 0) | (std::uint64_t{1} << 9) |
                                           (std::uint64_t{1} << 10) | (std::uint64_t{1} << 13));

    friend bool operator==(const UnicodeForm&, const UnicodeForm&) = default;
};

struct DecodedText {
    UnicodeForm form;
    std::string bytes; // code page 437 bytes, the file's line ends unchanged
};

// The automatic choice, one pass over the bytes for a file that is not Unicode art: a file
// that starts with a UTF-16 mark, or is valid UTF-8 with at least one non-ASCII character,
// and whose every character has a code page 437 glyph, comes back decoded; any other file
// comes back as it was with the encoding `Bytes` (its bytes moved, never copied). A single
// invalid byte means the file is not UTF-8.
[[nodiscard]] DecodedText decodeUnicodeArt(std::string bytes);

// The file read as UTF-8 (a mark is optional), or nothing when it is not UTF-8 or holds a
// character code page 437 cannot show (or shows the same as another of its characters).
[[nodiscard]] std::optional<DecodedText> decodeUtf8Art(std::string_view bytes);

// The file read as UTF-16 in the order its mark gives (least significant byte first when it
// has none), or nothing as for UTF-8; an odd length or an unpaired surrogate is not UTF-16.
[[nodiscard]] std::optional<DecodedText> decodeUtf16Art(std::string_view bytes);

// The reading the user picks for the files the window loads. PlainText reads as Automatic
// does but leaves ANSI art's escape sequences as text, to edit its bytes.
enum class EncodingChoice : std::uint8_t { Automatic, Cp437, Windows1252, Utf8, Utf16, PlainText };

// A stored choice; a number outside the list is Automatic.
[[nodiscard]] constexpr EncodingChoice encodingChoiceOf(std::int32_t stored) noexcept {
    return stored >= 0 && stored <= 5 ? static_cast<EncodingChoice>(stored)
                                      : EncodingChoice::Automatic;
}

// The file's bytes read as `choice` says: Automatic as decodeUnicodeArt, code page 437 and
// Windows-1252 as they are, UTF-8 and UTF-16 decoded where they can be, else as they are.
[[nodiscard]] DecodedText decodeAsChosen(std::string bytes, EncodingChoice choice);

// Writes document bytes (paragraph breaks as CR LF, as the document writes them) back in the
// file's form. Pieces may split anywhere, even between a CR and its LF.
class UnicodeEncoder {
public:
    explicit UnicodeEncoder(const UnicodeForm& form) noexcept : form_(form) {}

    // Appends the encoding of `piece` to `out` (the mark first, on the first call).
    void encode(std::string_view piece, std::string& out);
    // Appends what a trailing CR held back.
    void finish(std::string& out);

private:
    void put(char16_t ch, std::string& out) const;
    void putBreak(std::string& out) const;

    UnicodeForm form_;
    bool started_ = false;
    bool pendingCr_ = false;
};

// The whole text encoded at once.
[[nodiscard]] std::string encodeUnicodeArt(std::string_view bytes, const UnicodeForm& form);

// The Unicode character a byte is written as in `form` (the control or the glyph).
[[nodiscard]] char16_t unicodeForByte(std::uint8_t byte, const UnicodeForm& form) noexcept;

// The reverse, for a character typed into a document of this form: the byte that `form`
// writes back as that very character (é gives 130, U+263A gives 1 where byte 1 is written as
// its glyph). Nothing for a character without a code page 437 glyph, nor for the glyph of a
// byte written as its control code (the glyphs of tab, line feed and carriage return among
// them): saved, either would come back as another character.
[[nodiscard]] std::optional<std::uint8_t> byteForUnicode(char32_t ch,
                                                         const UnicodeForm& form) noexcept;

// The code page 437 byte whose glyph is `ch`, including the glyphs of bytes 1 to 31 and 127
// (U+263A gives 1); ASCII characters give themselves. Nothing for a character without one.
[[nodiscard]] std::optional<std::uint8_t> cp437ByteFor(char32_t ch) noexcept;

} // namespace tavrel
