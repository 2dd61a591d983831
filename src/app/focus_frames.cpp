// Turns the window's keyboard focus cues on when a button gets the focus.
#include "app/focus_frames.h"

#include <QEvent>
#include <QWidget>

namespace tavrel {

void FocusFrames::watch(QWidget* button) {
    button->installEventFilter(this);
}

bool FocusFrames::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::FocusIn) {
        return false;
    }
    // The styles draw a button's focus only once the window has seen the keyboard move the
    // focus; Qt notes that for Tab pressed in the window, not for a click or for the focus
    // the program sets (Exit's after loading, which Space and Enter would then press unseen),
    // so it is noted here for every focus a button gets.
    auto* button = static_cast<QWidget*>(watched);
    button->window()->setAttribute(Qt::WA_KeyboardFocusChange);
    button->update();
    return false;
}

} // namespace tavrel
