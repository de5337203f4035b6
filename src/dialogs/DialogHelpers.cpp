#include "dialogs/DialogHelpers.h"

#include <QCoreApplication>
#include <QLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace {

constexpr int EnterCharacter = 13;

// Opens QWidget's own Tab step to a helper outside the class.
struct TFocusStep : QWidget {
    using QWidget::focusNextChild;
};

bool IsMultiLineEditor(const QWidget *widget)
{
    // The focus may sit on the editor or on its viewport.
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (qobject_cast<const QPlainTextEdit *>(w) || qobject_cast<const QTextEdit *>(w)) {
            return true;
        }
        if (w->isWindow()) {
            break;
        }
    }
    return false;
}

TMessageBoxRunner &Runner()
{
    static TMessageBoxRunner runner;
    return runner;
}

} // namespace

void FocusNextOnEnter(QWidget *form, int key)
{
    if (!form || (key != EnterCharacter && key != Qt::Key_Return && key != Qt::Key_Enter)) {
        return;
    }
    if (IsMultiLineEditor(form->focusWidget())) {
        return;
    }
    bool (QWidget::*step)() = &TFocusStep::focusNextChild;
    (form->*step)();
}

void SettleLayouts(QWidget *window)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    if (QLayout *layout = window->layout())
        layout->activate();
}

void SetRedraw(QWidget *window, bool suspend)
{
    if (!window) {
        return;
    }
    window->setUpdatesEnabled(!suspend);
    if (suspend) {
        return;
    }
    window->update();
    for (QWidget *child : window->findChildren<QWidget *>()) {
        child->update();
    }
}

void SetMessageBoxRunner(TMessageBoxRunner runner)
{
    Runner() = std::move(runner);
}

void RunMessageBox(QMessageBox &box)
{
    if (Runner()) {
        Runner()(box);
    } else {
        box.exec();
    }
}
