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

QFont toQFont(const FontSpec& spec) {
    QFont font(QString::fromStdString(spec.face));
    font.setPointSize(spec.points > 0 ? spec.points : 9);
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    font.setStrikeOut(spec.strikeOut);
    return font;
}

} // namespace tavrel
