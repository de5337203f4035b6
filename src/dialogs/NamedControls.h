#pragma once
// Controls made with their object names: the language tables and the tests find them by name.

#include <QLabel>
#include <QWidget>

template <class T> T *Named(QWidget *parent, const char *name)
{
    auto *widget = new T(parent);
    widget->setObjectName(name);
    return widget;
}

inline QLabel *NewLabel(QWidget *parent, const char *name, const char *text)
{
    auto *label = Named<QLabel>(parent, name);
    label->setText(text);
    return label;
}
