#include "platform/WindowSystem.h"

#include <QByteArray>
#include <gtest/gtest.h>

namespace {

void SetOrUnset(const char *name, const char *value)
{
    if (value)
        qputenv(name, value);
    else
        qunsetenv(name);
}

// The platform the program asks Qt for, and the X11 pictures without shared memory, which programs
// it opens no longer see afterwards.
TEST(WindowSystem, ChoosePlatformAndForgetTheChoice)
{
    struct Case {
        const char *chosenByUser;
        const char *waylandDisplay;
        const char *display;
        const char *expected;
        const char *noSharedMemoryByUser = nullptr;
    };
    const Case cases[] = {
        {nullptr, nullptr, ":0", nullptr},                   // X11 session: Qt's own choice
        {nullptr, "wayland-0", ":0", "xcb;wayland"},         // Wayland with XWayland
        {nullptr, "wayland-0", nullptr, "wayland;xcb"},      // Wayland alone
        {"offscreen", "wayland-0", ":0", "offscreen"},       // the user's choice stands
        {nullptr, nullptr, ":0", nullptr, "0"},              // and so does theirs on shared memory
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.waylandDisplay ? c.waylandDisplay : "no Wayland");
        qunsetenv("XDG_SESSION_TYPE");
        SetOrUnset("QT_QPA_PLATFORM", c.chosenByUser);
        SetOrUnset("WAYLAND_DISPLAY", c.waylandDisplay);
        SetOrUnset("DISPLAY", c.display);
        SetOrUnset("QT_XCB_NO_MITSHM", c.noSharedMemoryByUser);
        ChoosePlatform();
        EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), QByteArray(c.expected));
        EXPECT_EQ(qgetenv("QT_XCB_NO_MITSHM"), QByteArray(c.noSharedMemoryByUser ? c.noSharedMemoryByUser : "1"));
        ForgetPlatformChoice();
        EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), QByteArray(c.chosenByUser));
        EXPECT_EQ(qgetenv("QT_XCB_NO_MITSHM"), QByteArray(c.noSharedMemoryByUser));
    }
}

} // namespace
