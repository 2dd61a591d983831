// A font as the settings describe it, independent of any toolkit, and its text form
// "face,points,BIUS,colour" (for example TavrelLarge,9,0000,clWhite).
#pragma once

#include "settings/color.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace tavrel {

struct FontSpec {
    std::string face;
    int points = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    Color color = 0;

    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// The sizes a font is drawn at, in points. Beyond the largest (72-point art zoomed eight times
// is already a screen's height per line) the font engine needs gigabytes or fails; a size
// from a damaged settings file or a typed one is brought into this range.
inline constexpr int kSmallestFontPoints = 1;
inline constexpr int kLargestFontPoints = 144;
inline constexpr int kDefaultFontPoints = 9; // for a size of 0 or less

// points kept to [kSmallestFontPoints, kLargestFontPoints]; 0 or less is the default size.
[[nodiscard]] constexpr int saneFontPoints(int points) noexcept {
    return points < kSmallestFontPoints  ? kDefaultFontPoints
           : points > kLargestFontPoints ? kLargestFontPoints
                                         : points;
}

// Raised by parseFontText; the settings store catches it and falls back to the default font.
class FontConversionError : public std::runtime_error {
public:
    FontConversionError() : std::runtime_error("Invalid string to font conversion") {}
};

// "%s,%d,%d%d%d%d,%s": face, points, bold/italic/underline/strike-out digits, colour text.
[[nodiscard]] std::string fontToText(const FontSpec& font);

// Parses a font text into target, field by field. Throws FontConversionError on a malformed
// text; target may then hold some of the new fields already (callers restore it).
void parseFontText(std::string_view text, FontSpec& target);

} // namespace tavrel
