// Turns the window's keyboard focus cues on when the user moves the focus to a button.
#include "app/focus_frames.h"

#include <QEvent>
#include <QFocusEvent>
#include <QWidget>

namespace tavrel {

void FocusFrames::watch(QWidget* button) {
    button->installEventFilter(this);
}

bool FocusFrames::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::FocusIn) {
        return false;
    }
    switch (static_cast<QFocusEvent*>(event)->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::MouseFocusReason:
    case Qt::ShortcutFocusReason: {
        // The styles draw a button's focus only once the window has seen the keyboard move
        // the focus; Qt notes that for Tab pressed in the window, not for a click or for
        // the focus the program sets, so it is noted here for the user's own moves.
        auto* button = static_cast<QWidget*>(watched);
        button->window()->setAttribute(Qt::WA_KeyboardFocusChange);
        button->update();
        break;
    }
    default:
        // The focus given at start-up and on activation of the window: no frame.
        break;
    }
    return false;
}

} // namespace tavrel
