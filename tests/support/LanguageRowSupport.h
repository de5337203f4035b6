#pragma once
// Reading back what a language row set, for the tests that walk the rows against the windows.

#include "dialogs/LanguageTables.h"

#include <QObject>
#include <QTabWidget>
#include <QWidget>

namespace testsupport {

// The text a row's target shows on its control.
inline QString ShownRowText(const QObject *control, TTextTarget target)
{
    switch (target) {
    case TTextTarget::Text:
        return control->property("text").toString();
    case TTextTarget::Hint:
        return control->property("toolTip").toString();
    case TTextTarget::Caption:
        return control->property("windowTitle").toString();
    case TTextTarget::Title:
        return control->property("title").toString();
    case TTextTarget::Name:
        return control->property("accessibleName").toString();
    case TTextTarget::Tab:
        if (const auto *page = qobject_cast<const QWidget *>(control)) {
            for (const QWidget *up = page->parentWidget(); up; up = up->parentWidget())
                if (const auto *tabs = qobject_cast<const QTabWidget *>(up); tabs && tabs->indexOf(page) >= 0)
                    return tabs->tabText(tabs->indexOf(page));
        }
        return "(no tab)";
    }
    return {};
}

} // namespace testsupport
