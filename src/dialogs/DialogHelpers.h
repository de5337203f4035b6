#pragma once
// Small helpers the windows share: the Enter key that moves on like Tab, drawing suspended around
// bulk changes, layouts settled at once, and the one way the dialogs show a message box (tests
// answer it themselves).

#include <functional>

class QMessageBox;
class QWidget;

// Called from a form's key preview with the typed character (or Qt's key code): Enter (13,
// Qt::Key_Return, Qt::Key_Enter) moves the focus to the next control in the form's tab order, as
// Tab would, unless the focus is in a multi-line text editor, which keeps Enter for itself. Any
// other key does nothing. The key itself is left for the control.
void FocusNextOnEnter(QWidget *form, int key);

// Suspends (true) or resumes (false) the drawing of a window. Resuming repaints the whole window
// and every child. Nothing happens for a null window.
void SetRedraw(QWidget *window, bool suspend);

// Texts set just now reach every nested layout, and the window's own layout takes in what they
// need (its minimum size, and its size where that is below it), now rather than from the event
// loop: a window is sized and placed once, with what it will show.
void SettleLayouts(QWidget *window);

// Runs a prepared message box modally. An empty runner restores exec().
using TMessageBoxRunner = std::function<void(QMessageBox &box)>;
void SetMessageBoxRunner(TMessageBoxRunner runner);
void RunMessageBox(QMessageBox &box);
