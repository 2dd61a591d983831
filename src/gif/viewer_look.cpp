// Turning the stored font and colours into Qt's and handing them and a file to an editor.
#include "gif/viewer_look.h"

#include "app/line_ends.h"
#include "app/settings_catalogue.h"
#include "editor/text_editor.h"

#include <QApplication>
#include <QPalette>
#include <QString>

#include <utility>

namespace tavrel {

QColor colorFromSettings(Color color) {
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

QFont fontFromSettings(const FontSpec& spec) {
    QFont font(QString::fromStdString(spec.face));
    font.setPointSize(spec.points > 0 ? spec.points : 9);
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    font.setStrikeOut(spec.strikeOut);
    return font;
}

void applyViewerLook(TextEditor& editor, const AppSettings& settings) {
    editor.setColor(colorFromSettings(settings.backColor));
    editor.setEditorFont(fontFromSettings(settings.editorFont));
    editor.setTextColor(colorFromSettings(settings.editorFont.color));
    editor.setShowNonPrintChars(settings.spaces ? npSpace | npTab | npReturn : 0);
}

void loadAsTheViewerDoes(TextEditor& editor, std::string bytes, const AppSettings& settings) {
    if (settings.convert) {
        cutAtNul(bytes);
        repairLineEnds(bytes);
    }
    editor.engine().loadBytes(std::move(bytes));
}

} // namespace tavrel
