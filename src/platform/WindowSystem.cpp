#include "platform/WindowSystem.h"

#include <QGuiApplication>
#include <QWindow>

#include <algorithm>
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

} // namespace

void ChoosePlatform()
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !IsWaylandSession())
        return;
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "wayland;xcb" : "xcb;wayland");
    platformChosen = true;
}

void ForgetPlatformChoice()
{
    if (platformChosen)
        qunsetenv("QT_QPA_PLATFORM");
    platformChosen = false;
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
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 && window ? x11->connection() : nullptr;
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !connection)
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
