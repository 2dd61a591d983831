// Always on Top for a window that may already be on screen: on X11 the window manager is
// asked to move the window into the topmost band (_NET_WM_STATE_ABOVE), on Windows the
// window is put there (HWND_TOPMOST); neither moves, resizes nor activates it, where Qt's own
// window flag would hide and show the window again.
#pragma once

class QWidget;

namespace tavrel::platform {

void setStaysOnTop(QWidget& window, bool on);

// Whether the window manager has the window in its topmost band (X11 and Windows; false
// elsewhere). For tests and for a menu that reflects what the desktop did.
[[nodiscard]] bool staysOnTopOnScreen(const QWidget& window);

} // namespace tavrel::platform
