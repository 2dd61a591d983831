// _NET_WM_STATE_ABOVE through xcb on X11; SetWindowPos with HWND_TOPMOST on Windows; Qt's
// window flag before the window first shows and on every other platform.
#include "platform/stay_on_top.h"

#include <QGuiApplication>
#include <QWidget>

#ifdef _WIN32
#include <windows.h>
#endif

#ifdef TAVREL_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#endif

namespace tavrel::platform {

namespace {

#ifdef TAVREL_HAVE_XCB
xcb_connection_t* xConnection() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return nullptr;
    }
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t result = reply != nullptr ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}

xcb_window_t rootOf(xcb_connection_t* connection, xcb_window_t window) {
    xcb_query_tree_reply_t* tree =
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr);
    const xcb_window_t root = tree != nullptr ? tree->root : xcb_window_t(0);
    std::free(tree);
    return root;
}
#endif

} // namespace

void setStaysOnTop(QWidget& window, bool on) {
#ifdef TAVREL_HAVE_XCB
    if (xcb_connection_t* connection = xConnection(); connection != nullptr && window.isVisible()) {
        const auto id = static_cast<xcb_window_t>(window.winId());
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = id;
        event.type = atom(connection, "_NET_WM_STATE");
        event.data.data32[0] = on ? 1 : 0; // _NET_WM_STATE_ADD or _REMOVE
        event.data.data32[1] = atom(connection, "_NET_WM_STATE_ABOVE");
        event.data.data32[3] = 1; // from a normal application
        xcb_send_event(connection, 0, rootOf(connection, id),
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&event));
        xcb_flush(connection);
        return;
    }
#endif
#ifdef _WIN32
    if (window.isVisible()) {
        // The topmost band without hiding, moving or activating the window. Qt's copy of the
        // flags is brought in line without telling the system, so that a later change of
        // another flag does not undo this one.
        SetWindowPos(reinterpret_cast<HWND>(window.winId()), on ? HWND_TOPMOST : HWND_NOTOPMOST, 0,
                     0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        window.overrideWindowFlags(window.windowFlags().setFlag(Qt::WindowStaysOnTopHint, on));
        return;
    }
#endif
    const bool wasVisible = window.isVisible();
    window.setWindowFlag(Qt::WindowStaysOnTopHint, on);
    // Changing a window flag hides a shown window; it comes back where it was.
    if (wasVisible) {
        window.show();
    }
}

bool staysOnTopOnScreen([[maybe_unused]] const QWidget& window) {
#ifdef TAVREL_HAVE_XCB
    xcb_connection_t* connection = xConnection();
    if (connection == nullptr || !window.isVisible()) {
        return false;
    }
    const xcb_atom_t above = atom(connection, "_NET_WM_STATE_ABOVE");
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, static_cast<xcb_window_t>(window.winId()),
                         atom(connection, "_NET_WM_STATE"), XCB_ATOM_ATOM, 0, 64),
        nullptr);
    bool found = false;
    if (reply != nullptr) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        const int count = xcb_get_property_value_length(reply) / int(sizeof(xcb_atom_t));
        for (int i = 0; i < count; ++i) {
            found = found || atoms[i] == above;
        }
    }
    std::free(reply);
    return found;
#elif defined(_WIN32)
    return window.isVisible() &&
           (GetWindowLongPtrW(reinterpret_cast<HWND>(window.winId()), GWL_EXSTYLE) &
            WS_EX_TOPMOST) != 0;
#else
    return false;
#endif
}

} // namespace tavrel::platform
