// Qt's font chooser as a part of the font dialog of the Options menu: Esc and Enter answer the
// surrounding dialog, and the chooser opens at the font it is given, style and size included.
#pragma once

#include <QFontDialog>

class QDialog;
class QKeyEvent;
class QLineEdit;

namespace tavrel {

// On its own the chooser is a dialog too, and its Enter (in the font and style lists) and Esc
// would close only itself, leaving an empty dialog around it: here they are the surrounding
// dialog's OK and Cancel.
//
// Qt knows a bitmap family at one size only and leaves the size field empty for any other
// (OK would then store the default size), while the editor draws a bitmap font at any size
// from its strikes. The size field takes any number typed in, so the size is shown there and
// read back from there.
class FontChooser final : public QFontDialog {
public:
    // `initial` must name an installed family: the chooser lists only those.
    FontChooser(const QFont& initial, QDialog& owner);

    // The size in the size field, or the chosen font's when the field holds none.
    [[nodiscard]] int chosenPoints() const;

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QDialog& owner_;
    QLineEdit* sizeField_ = nullptr;
};

} // namespace tavrel
