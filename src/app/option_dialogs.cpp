// Qt's colour dialog as it is, and Qt's font dialog embedded in a dialog of our own that
// adds the font colour beside its effects.
#include "app/option_dialogs.h"

#include "app/font_chooser.h"
#include "editor/qt/display_font.h"
#include "platform/qt_look.h"

#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrel {

namespace {

void showSwatch(QPushButton& button, const QColor& colour) {
    QPixmap swatch(32, 14);
    swatch.fill(colour);
    button.setIcon(QIcon(swatch));
    button.setIconSize(swatch.size());
}

} // namespace

std::optional<Color> QtOptionDialogs::chooseColor(QWidget* parent, Color initial) {
    // Qt's dialog always offers the custom colours; any colour may be chosen.
    const QColor chosen = QColorDialog::getColor(toQColor(initial), parent);
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return fromQColor(chosen);
}

std::optional<FontSpec> QtOptionDialogs::chooseFont(QWidget* parent, const FontSpec& initial) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QFontDialog::tr("Select Font"));
    auto* column = new QVBoxLayout(&dialog);
    // The chooser lists installed families only: it starts at the font the editor draws with,
    // the stored one or, when that is not installed, the one drawing in its place.
    const QFont shown = resolveDisplayFont(toQFont(initial));
    auto* fonts = new FontChooser(shown, dialog);
    column->addWidget(fonts);

    QColor colour = toQColor(initial.color);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QColorDialog::tr("Color"), &dialog);
    auto* colourButton = new QPushButton(&dialog);
    label->setBuddy(colourButton);
    showSwatch(*colourButton, colour);
    QObject::connect(colourButton, &QPushButton::clicked, &dialog, [&] {
        const QColor picked = QColorDialog::getColor(colour, &dialog);
        if (picked.isValid()) {
            colour = picked;
            showSwatch(*colourButton, colour);
        }
    });
    row->addWidget(label);
    row->addWidget(colourButton);
    row->addStretch(1);
    column->addLayout(row);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    // Made the default by hand: beside the chooser's own hidden buttons the box leaves OK
    // without that mark, and Enter in the size field would then press nothing.
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    column->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    FontSpec chosen = fromQFont(fonts->currentFont());
    chosen.points = saneFontPoints(fonts->chosenPoints());
    chosen.color = fromQColor(colour);
    if (fonts->currentFont().family() == shown.family()) {
        // Left at the family drawing in place of a missing one: the setting keeps naming the
        // missing one, which draws as soon as it is installed.
        chosen.face = initial.face;
    }
    return chosen;
}

} // namespace tavrel
