#include "app/TaskbarHint.h"

#include <QGuiApplication>
#include <QWidget>
#include <array>
#include <xcb/xcb.h>

namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return result;
}

xcb_connection_t* x11Connection() {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// A mapped window's state belongs to the window manager: ask it.
void askWindowManager(xcb_connection_t* connection, QWidget* window, xcb_atom_t type,
                      std::array<uint32_t, 4> data) {
    xcb_client_message_event_t event = {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = xcb_window_t(window->winId());
    event.type = type;
    for (size_t i = 0; i < data.size(); ++i)
        event.data.data32[i] = data[i];
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    xcb_send_event(connection, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection);
}

} // namespace

void TaskbarHint::skipTaskbar(QWidget* window, bool skip) {
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return;
    const xcb_atom_t state = atom(connection, "_NET_WM_STATE");
    const xcb_atom_t skipTaskbar = atom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skipTaskbar == XCB_ATOM_NONE)
        return;
    // _NET_WM_STATE_ADD or _REMOVE, from an ordinary application.
    askWindowManager(connection, window, state, {skip ? 1u : 0u, skipTaskbar, 0, 1});
}

void TaskbarHint::activate(QWidget* window) {
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return;
    const xcb_atom_t active = atom(connection, "_NET_ACTIVE_WINDOW");
    if (active == XCB_ATOM_NONE)
        return;
    // As a taskbar asks (source 2): the user asked for the window. Qt's own request waits for
    // the window to be mapped, which a window hidden to show the desktop never is.
    askWindowManager(connection, window, active, {2, XCB_CURRENT_TIME, 0, 0});
}
