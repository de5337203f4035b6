#pragma once
// The window system the program runs on: which one it chooses, what a session does not allow,
// and the details of X11 that Qt leaves out.

#include <QMargins>
#include <QPoint>
#include <optional>

class QWindow;

// Before the application object exists. Unless the user chose a platform (QT_QPA_PLATFORM),
// a Wayland session with XWayland runs the program through X11, where a window can place
// itself, stay on top and start minimised; Wayland itself remains the fallback, and is the
// choice where the session has no XWayland. The choice goes through QT_QPA_PLATFORM; call
// ForgetPlatformChoice once the application object exists, so programs Orvani opens (a browser,
// a mail client) choose their own. X11 pictures go without shared memory, which costs two
// wake-ups a repaint.
void ChoosePlatform();
void ForgetPlatformChoice();

// Says once on standard error what the session does not allow the program, if anything.
void ReportSessionLimits();

// Maps the window, when it is first shown, as a minimised (iconic) task-bar entry. Only the
// window's initial state does that on X11; elsewhere the minimised state Qt passes on suffices.
void StartIconic(QWindow *window);

// Where the window's frame stands now, as the X server has it, in the program's pixels: the
// client's place less the frame the window manager announces. Qt's own idea of the frame may be
// stale (a window mapped iconic, a frame that changed after the window manager's first word,
// flags changed while it was shown); empty where there is no X11 frame to read.
std::optional<QPoint> FramePositionNow(QWindow *window);
// The frame the window manager announces around the window, in the program's pixels rounded up,
// so that a frame kept inside an area stays inside it at any scale; empty where there is none.
std::optional<QMargins> FrameMarginsNow(QWindow *window);
