// The font text form. The parser follows the settings files' long-standing reading rules:
// fields are cut at commas from the left, the style field must be exactly four characters,
// and any style character other than "1" means "not set".
#include "settings/font_text.h"

#include "settings/color_text.h"
#include "settings/number_text.h"

namespace tavrel {

std::string fontToText(const FontSpec& font) {
    std::string text = font.face;
    text += ',';
    text += std::to_string(font.points);
    text += ',';
    for (const bool style : {font.bold, font.italic, font.underline, font.strikeOut}) {
        text += style ? '1' : '0';
    }
    text += ',';
    text += colorToText(font.color);
    return text;
}

void parseFontText(std::string_view text, FontSpec& target) {
    auto comma = text.find(',');
    if (comma == std::string_view::npos) {
        throw FontConversionError();
    }
    target.face = std::string(text.substr(0, comma));
    text.remove_prefix(comma + 1);

    comma = text.find(',');
    if (comma == std::string_view::npos) {
        throw FontConversionError();
    }
    const auto points = parseDecimal(text.substr(0, comma));
    if (!points) {
        throw FontConversionError();
    }
    target.points = *points;
    text.remove_prefix(comma + 1);

    if (text.find(',') != 4) {
        throw FontConversionError();
    }
    target.bold = text[0] == '1';
    target.italic = text[1] == '1';
    target.underline = text[2] == '1';
    target.strikeOut = text[3] == '1';
    text.remove_prefix(5);

    const auto color = parseColorText(text);
    if (!color) {
        throw FontConversionError();
    }
    target.color = *color;
}

} // namespace tavrel
