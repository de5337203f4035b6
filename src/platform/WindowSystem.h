#pragma once
// The window system the program runs on: which one it chooses, what a session does not allow,
// and the details of X11 that Qt leaves out.

class QWindow;

// Before the application object exists. Unless the user chose a platform (QT_QPA_PLATFORM),
// a Wayland session with XWayland runs the program through X11, where a window can place
// itself, stay on top and start minimised; Wayland itself remains the fallback, and is the
// choice where the session has no XWayland. The choice goes through QT_QPA_PLATFORM; call
// ForgetPlatformChoice once the application object exists, so programs Orvani opens (a browser,
// a mail client) choose their own.
void ChoosePlatform();
void ForgetPlatformChoice();

// Says once on standard error what the session does not allow the program, if anything.
void ReportSessionLimits();

// Maps the window, when it is first shown, as a minimised (iconic) task-bar entry. Only the
// window's initial state does that on X11; elsewhere the minimised state Qt passes on suffices.
void StartIconic(QWindow *window);
