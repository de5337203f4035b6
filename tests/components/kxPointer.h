#pragma once
// The pointer entering and leaving a widget, as the window system reports it.

#include <QApplication>
#include <QEnterEvent>
#include <QWidget>

namespace kxpointer {

inline void Enter(QWidget &widget)
{
    QEnterEvent event(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(&widget, &event);
}

inline void Leave(QWidget &widget)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(&widget, &event);
}

} // namespace kxpointer
