#include "platform/window_frame.h"

#include <QGuiApplication>
#include <QWindow>

#if defined(KESTRIX_HAS_XCB) && QT_CONFIG(xcb)
#define KESTRIX_ASKS_X11
#include <qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <QDeadlineTimer>
#include <QThread>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#endif

namespace kestrix::platform {

#ifdef KESTRIX_ASKS_X11

namespace {

template <typename Reply>
using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t* x, const char* name) {
    const ReplyPointer<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(
            x, xcb_intern_atom(x, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

ReplyPointer<xcb_get_property_reply_t> property(xcb_connection_t* x, xcb_window_t window,
                                                xcb_atom_t name, xcb_atom_t type, uint32_t length) {
    return {
        xcb_get_property_reply(x, xcb_get_property(x, 0, window, name, type, 0, length), nullptr),
        &std::free};
}

bool windowManagerSupports(xcb_connection_t* x, xcb_window_t root, xcb_atom_t feature) {
    const auto supported = property(x, root, atom(x, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 4096);
    if (!supported || supported->format != 32) {
        return false;
    }
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(supported.get()));
    return std::find(atoms, atoms + supported->value_len, feature) != atoms + supported->value_len;
}

// Asks the window manager to set _NET_FRAME_EXTENTS on the window before it is mapped.
QMargins askWindowManager(xcb_connection_t* x, xcb_window_t window) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const xcb_atom_t request = atom(x, "_NET_REQUEST_FRAME_EXTENTS");
    const xcb_atom_t extents = atom(x, "_NET_FRAME_EXTENTS");
    if (screen == nullptr || request == XCB_ATOM_NONE ||
        !windowManagerSupports(x, screen->root, request)) {
        return {};
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = request;
    xcb_send_event(x, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(x);
    const QDeadlineTimer deadline(500);
    do {
        const auto reply = property(x, window, extents, XCB_ATOM_CARDINAL, 4);
        if (reply && reply->format == 32 && reply->value_len == 4) {
            const auto* side = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
            // Left, right, top, bottom.
            return QMargins(static_cast<int>(side[0]), static_cast<int>(side[2]),
                            static_cast<int>(side[1]), static_cast<int>(side[3]));
        }
        QThread::msleep(2);
    } while (!deadline.hasExpired());
    return {};
}

}  // namespace

QMargins expectedFrameMargins(QWindow& window) {
    // The offscreen platform answers for X11 too, without a connection.
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (QGuiApplication::platformName() != QLatin1String("xcb") || x11 == nullptr ||
        x11->connection() == nullptr) {
        return window.frameMargins();
    }
    return askWindowManager(x11->connection(), static_cast<xcb_window_t>(window.winId()));
}

#else

QMargins expectedFrameMargins(QWindow& window) {
    return window.frameMargins();
}

#endif

}  // namespace kestrix::platform
