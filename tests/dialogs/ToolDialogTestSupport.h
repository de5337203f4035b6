#pragma once
// What the Go-to and Date info tests share: known locale data, the language switch as the main
// window performs it, a check that no control is clipped, and screenshots at two font sizes.

#include "date/DateFormat.h"
#include "date/FormatSettings.h"
#include "dialogs/LanguageTables.h"
#include "support/LanguageRowSupport.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>
#include <ostream>

// Readable QString and QStringList values in test failures.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace dialogtest {

inline TDateTime Date(int year, int month, int day)
{
    return MakeDate(year, month, day);
}

// English names, day-month-year with '-' between, a 24-hour clock, '.' before decimals.
inline TFormatSettings KnownSettings()
{
    TFormatSettings settings = DefaultFormatSettings();
    settings.ShortDateFormat = "dd/mm/yyyy";
    settings.DateSeparator = "-";
    settings.LongTimeFormat = "hh:nn:ss";
    settings.TimeSeparator = ":";
    settings.DecimalSeparator = ".";
    return settings;
}

// Sets the window's texts in a language, as the main window's language switch does: its rows,
// then the texts beyond them when the window has such.
template <class Window> void ApplyLanguage(Window *window, TLanguage language)
{
    ApplyWindowRows(window, language);
    if constexpr (requires { window->ApplyLanguageTexts(language); })
        window->ApplyLanguageTexts(language);
}

// Every language row of the window names one of its controls, whose design text is the Dutch one.
inline void ExpectDutchDesignTexts(QWidget *window)
{
    for (const TLanguageRow &row : LanguageRows()) {
        if (window->objectName() != row.Window) {
            continue;
        }
        const QString dutch = QString::fromUtf8(row.Texts[lnDutch]);
        if (row.Target == TTextTarget::Caption || row.Target == TTextTarget::Name) {
            continue; // the window captions and the accessible names come from the switch alone
        }
        const QObject *control = window->findChild<QObject *>(row.Control);
        ASSERT_NE(control, nullptr) << row.Control;
        EXPECT_EQ(testsupport::ShownRowText(control, row.Target), dutch) << row.Control;
    }
}

// Named controls that are smaller than their content needs or stick out of their parent.
inline QStringList ClippedControls(QWidget *window)
{
    QStringList clipped;
    for (QWidget *control : window->findChildren<QWidget *>()) {
        const QString name = control->objectName();
        // The parts of a combo box or spin box are laid out by the control they belong to.
        const bool part = qobject_cast<QComboBox *>(control->parentWidget()) ||
                          qobject_cast<QAbstractSpinBox *>(control->parentWidget());
        if (name.isEmpty() || name.startsWith("qt_") || !control->isVisible() || part) {
            continue;
        }
        const QSize need = control->minimumSizeHint();
        // The content of a scroll area is reached by scrolling.
        const auto *area = qobject_cast<QAbstractScrollArea *>(control->parentWidget()->parentWidget());
        const bool scrolled = area && area->viewport() == control->parentWidget();
        bool fits = control->width() >= need.width() && control->height() >= need.height() &&
                    (scrolled || control->parentWidget()->rect().contains(control->geometry()));
        if (auto *label = qobject_cast<QLabel *>(control); label && label->wordWrap()) {
            fits = fits && label->heightForWidth(label->width()) <= label->height();
        }
        if (!fits) {
            clipped << name;
        }
    }
    return clipped;
}

// The window's font at the platform size or 1.5 times it (144 dpi on a 96 dpi screen).
inline void SetFontScale(QWidget *window, double scale)
{
    QFont font = QApplication::font();
    font.setPointSizeF(font.pointSizeF() * scale);
    window->setFont(font);
}

// Runs a look at a window in both languages, at the platform's text size and half as large
// again; each case is named "<prefix>_<nl|en>_<dpi>", the name of its screenshot.
template <class Look> void ForEachLanguageAndTextSize(const char *prefix, Look look)
{
    for (const TLanguage language : {lnDutch, lnEnglish}) {
        for (const double scale : {1.0, 1.5}) {
            const QString name =
                QString("%1_%2_%3").arg(prefix, language == lnDutch ? "nl" : "en").arg(scale * 96);
            SCOPED_TRACE(name.toStdString());
            look(language, scale, name);
        }
    }
}

} // namespace dialogtest
