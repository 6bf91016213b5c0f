// Keeps a window off the task bar.
#include "TaskbarButton.h"

#include <QGuiApplication>
#include <QWindow>

#ifdef Q_OS_WIN
#include <windows.h>
#elif defined(KALMORA_HAVE_XCB)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#endif

namespace {

#if !defined(Q_OS_WIN) && defined(KALMORA_HAVE_XCB)
xcb_atom_t internAtom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

bool hasAtom(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t property, xcb_atom_t atom)
{
    const xcb_get_property_cookie_t cookie = xcb_get_property(connection, 0, window, property, XCB_ATOM_ATOM, 0, 1024);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    if (!reply || reply->format != 32 || reply->type != XCB_ATOM_ATOM)
        return false;
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / int(sizeof(xcb_atom_t));
    for (int i = 0; i < count; ++i) {
        if (atoms[i] == atom)
            return true;
    }
    return false;
}
#endif

}

void TaskbarButton::hide(QWindow *window)
{
    if (!window)
        return;
#ifdef Q_OS_WIN
    // A tool-window frame has no task-bar button.
    const auto hwnd = reinterpret_cast<HWND>(window->winId());
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE, (style | WS_EX_TOOLWINDOW) & ~WS_EX_APPWINDOW);
#elif defined(KALMORA_HAVE_XCB)
    if (QGuiApplication::platformName() != u"xcb")
        return; // not running on X11 (the offscreen platform also answers for X11, without a connection)
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    const auto id = xcb_window_t(window->winId());
    const xcb_atom_t state = internAtom(connection, "_NET_WM_STATE");
    const xcb_atom_t skip = internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skip == XCB_ATOM_NONE || hasAtom(connection, id, state, skip))
        return;
    if (window->isVisible()) {
        // A mapped window asks the window manager to change its state.
        xcb_client_message_event_t event = {};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = id;
        event.type = state;
        event.data.data32[0] = 1; // add
        event.data.data32[1] = skip;
        event.data.data32[3] = 1; // from a normal application
        xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        xcb_send_event(connection, 0, screen->root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char *>(&event));
    } else {
        // Qt merges its own state atoms with these when it maps the window.
        xcb_change_property(connection, XCB_PROP_MODE_APPEND, id, state, XCB_ATOM_ATOM, 32, 1, &skip);
    }
    xcb_flush(connection);
#endif
}
