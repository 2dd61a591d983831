// The embedded font chooser: its keys handed on, its style found by name, its size field.
#include "app/font_chooser.h"

#include <QDialog>
#include <QFontDatabase>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLineEdit>

namespace tavrel {

namespace {

// The font with the name of its family's style that has its boldness and slant: the chooser
// finds a style by name only, and the names a family gives ("Medium", "Book") need not be the
// ones Qt makes up from a weight, which would leave it at the family's first style.
QFont withListedStyle(QFont font) {
    const QString family = font.family();
    for (const QString& style : QFontDatabase::styles(family)) {
        // An oblique style counts as italic, as QFont's italic() has it.
        const QFont listed = QFontDatabase::font(family, style, font.pointSize());
        if (listed.bold() == font.bold() && listed.italic() == font.italic()) {
            font.setStyleName(style);
            break;
        }
    }
    return font;
}

} // namespace

FontChooser::FontChooser(const QFont& initial, QDialog& owner)
    : QFontDialog(withListedStyle(initial), &owner), owner_(owner) {
    setWindowFlags(Qt::Widget);
    setOption(QFontDialog::NoButtons);
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        if (qobject_cast<const QIntValidator*>(edit->validator()) != nullptr) {
            sizeField_ = edit;
        }
    }
    if (sizeField_ != nullptr && initial.pointSize() > 0) {
        sizeField_->setText(QString::number(initial.pointSize()));
    }
}

int FontChooser::chosenPoints() const {
    const int typed = sizeField_ != nullptr ? sizeField_->text().toInt() : 0;
    return typed > 0 ? typed : currentFont().pointSize();
}

void FontChooser::done(int result) {
    owner_.done(result);
}

void FontChooser::keyPressEvent(QKeyEvent* event) {
    // The keys a dialog answers itself (Esc, Enter) go on to the surrounding one.
    event->ignore();
}

} // namespace tavrel
