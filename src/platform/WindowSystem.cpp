#include "platform/WindowSystem.h"

#include <QGuiApplication>
#include <QMargins>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace {

bool IsWaylandSession()
{
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == "wayland";
}

// WM_HINTS as the X11 conventions lay it out: nine 32-bit fields, of which the program sets the
// initial state.
constexpr int WmHintsFields = 9;
constexpr int WmHintsFlags = 0;
constexpr int WmHintsInitialState = 2;
constexpr quint32 StateHint = 1u << 1;
constexpr quint32 IconicState = 3;

bool platformChosen = false;
bool sharedMemoryOff = false;

xcb_connection_t *X11Connection(QWindow *window)
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !x11 || !window || !window->handle())
        return nullptr;
    return x11->connection();
}

// _NET_FRAME_EXTENTS: left, right, top, bottom.
std::optional<QMargins> FrameExtents(xcb_connection_t *connection, xcb_window_t window)
{
    static const char name[] = "_NET_FRAME_EXTENTS";
    xcb_intern_atom_reply_t *atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, sizeof name - 1, name), nullptr);
    if (!atom)
        return std::nullopt;
    const xcb_atom_t extentsAtom = atom->atom;
    std::free(atom);
    std::optional<QMargins> extents;
    if (xcb_get_property_reply_t *reply = xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, extentsAtom, XCB_ATOM_CARDINAL, 0, 4), nullptr)) {
        if (reply->format == 32 && xcb_get_property_value_length(reply) == 16) {
            const auto *value = static_cast<const quint32 *>(xcb_get_property_value(reply));
            extents = QMargins(int(value[0]), int(value[2]), int(value[1]), int(value[3]));
        }
        std::free(reply);
    }
    return extents;
}

} // namespace

void ChoosePlatform()
{
    // Shared-memory images cost the X11 connection two extra wake-ups for every repaint (the
    // server's completion event, read on Qt's event thread and handed to the GUI thread): with
    // the clock repainting each second that tripled the idle wake-ups. The window is small, so
    // its pictures go over the connection instead.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) {
        qputenv("QT_XCB_NO_MITSHM", "1");
        sharedMemoryOff = true;
    }
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !IsWaylandSession())
        return;
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "wayland;xcb" : "xcb;wayland");
    platformChosen = true;
}

void ForgetPlatformChoice()
{
    if (platformChosen)
        qunsetenv("QT_QPA_PLATFORM");
    if (sharedMemoryOff)
        qunsetenv("QT_XCB_NO_MITSHM");
    platformChosen = false;
    sharedMemoryOff = false;
}

void ReportSessionLimits()
{
    static bool reported = false;
    if (reported || !QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    reported = true;
    std::fputs("Orvani: this Wayland session does not let a program place its own window, keep it on top "
               "or start it minimised, so the stored window position, \"stay on top\" and \"start "
               "minimised\" have no effect. Install XWayland, or start Orvani with QT_QPA_PLATFORM=xcb, "
               "to have them.\n",
               stderr);
}

void StartIconic(QWindow *window)
{
    xcb_connection_t *connection = X11Connection(window);
    if (!connection)
        return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    quint32 hints[WmHintsFields] = {};
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection, 0, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 0, WmHintsFields);
    if (xcb_get_property_reply_t *reply = xcb_get_property_reply(connection, cookie, nullptr)) {
        const int length = std::min(xcb_get_property_value_length(reply), int(sizeof hints));
        if (reply->format == 32 && length > 0)
            std::memcpy(hints, xcb_get_property_value(reply), length);
        std::free(reply);
    }
    hints[WmHintsFlags] |= StateHint;
    hints[WmHintsInitialState] = IconicState;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 32,
                        WmHintsFields, hints);
    xcb_flush(connection);
}

std::optional<QPoint> FramePositionNow(QWindow *window)
{
    xcb_connection_t *connection = X11Connection(window);
    if (!connection)
        return std::nullopt;
    const auto id = static_cast<xcb_window_t>(window->winId());
    const std::optional<QMargins> extents = FrameExtents(connection, id);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_translate_coordinates_reply_t *origin =
        xcb_translate_coordinates_reply(connection, xcb_translate_coordinates(connection, id, root, 0, 0), nullptr);
    if (!extents || !origin) {
        std::free(origin);
        return std::nullopt;
    }
    const QPointF frame(origin->dst_x - extents->left(), origin->dst_y - extents->top());
    std::free(origin);
    return (frame / window->devicePixelRatio()).toPoint();
}

std::optional<QMargins> FrameMarginsNow(QWindow *window)
{
    xcb_connection_t *connection = X11Connection(window);
    const std::optional<QMargins> extents =
        connection ? FrameExtents(connection, static_cast<xcb_window_t>(window->winId())) : std::nullopt;
    if (!extents)
        return std::nullopt;
    const double scale = window->devicePixelRatio();
    const auto up = [scale](int pixels) { return int(std::ceil(pixels / scale)); };
    return QMargins(up(extents->left()), up(extents->top()), up(extents->right()), up(extents->bottom()));
}
