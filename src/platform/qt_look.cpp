// Stored colours and fonts for Qt.
#include "platform/qt_look.h"

#include <QApplication>
#include <QPalette>
#include <QString>

namespace tavrel {

QColor toQColor(Color color) {
    if (!isSystemColor(color)) {
        return QColor(redOf(color), greenOf(color), blueOf(color));
    }
    const QPalette palette = QApplication::palette();
    switch (systemColorIndex(color)) {
    case 5: // window
        return palette.color(QPalette::Base);
    case 8: // window text
        return palette.color(QPalette::Text);
    case 13: // highlight
        return palette.color(QPalette::Highlight);
    case 14: // highlight text
        return palette.color(QPalette::HighlightedText);
    case 15: // button face
        return palette.color(QPalette::Button);
    case 18: // button text
        return palette.color(QPalette::ButtonText);
    default:
        return palette.color(QPalette::WindowText);
    }
}

QFont toQFont(const FontSpec& setting) {
    QFont font(QString::fromStdString(setting.face));
    font.setPointSize(saneFontPoints(setting.points));
    font.setBold(setting.bold);
    font.setItalic(setting.italic);
    font.setUnderline(setting.underline);
    font.setStrikeOut(setting.strikeOut);
    return font;
}

Color fromQColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return rgbColor(static_cast<std::uint8_t>(rgb.red()), static_cast<std::uint8_t>(rgb.green()),
                    static_cast<std::uint8_t>(rgb.blue()));
}

FontSpec fromQFont(const QFont& font) {
    FontSpec stored;
    stored.face = font.family().toStdString();
    stored.points =
        saneFontPoints(font.pointSize() > 0 ? font.pointSize() : qRound(font.pointSizeF()));
    stored.bold = font.bold();
    stored.italic = font.italic();
    stored.underline = font.underline();
    stored.strikeOut = font.strikeOut();
    return stored;
}

} // namespace tavrel
