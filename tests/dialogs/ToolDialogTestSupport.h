#pragma once
// What the Go-to and Date info tests share: known locale data, the language switch as the main
// window performs it, a check that no control is clipped, and screenshots at two font sizes.

#include "components/MonthCalendar.h"
#include "date/DateFormat.h"
#include "date/FormatSettings.h"
#include "dialogs/LanguageTables.h"
#include "support/LanguageRowSupport.h"
#include "platform/Colors.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>
#include <algorithm>
#include <ostream>
#include <utility>
#include <vector>

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
    window->SetLanguage(language);
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

// The parts of a control that show text, as drawn, each with what it shows for a failure message:
// the month view's titles, weekdays, days of each kind and today line; a group box's title
// strip; any other control that shows text whole. None for pictures and disabled controls
// (whose text need not read).
inline std::vector<std::pair<QString, QImage>> TextParts(QWidget *control)
{
    std::vector<std::pair<QString, QImage>> parts;
    if (!control->isEnabled()) {
        return parts;
    }
    const QImage image = control->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    const auto part = [&](const char *what, const QRect &rect) {
        const QRect pixels = QRectF(QPointF(rect.topLeft()) * ratio, QSizeF(rect.size()) * ratio).toRect();
        parts.emplace_back(what, image.copy(pixels));
    };
    if (auto *view = qobject_cast<TMonthCalendar *>(control)) {
        const TMonthCalendarLayout &layout = view->Layout();
        part("title", layout.TitleRect(0));
        part("weekdays", layout.HeaderRect(0));
        part("today line", layout.TodayRect());
        for (int row = 0; row < TMonthCalendarLayout::WeekRows; ++row) {
            for (int column = 0; column < TMonthCalendarLayout::DaysPerWeek; ++column) {
                const TCalendarCell cell = layout.Cell(0, row, column);
                const char *what = cell.Date == view->Date()                ? "selected day"
                                   : cell.Kind == TCalendarCellKind::Day      ? "day"
                                   : cell.Kind == TCalendarCellKind::Trailing ? "other month's day"
                                                                              : nullptr;
                if (what) {
                    part(what, layout.CellRect(0, row, column));
                }
            }
        }
    } else if (auto *group = qobject_cast<QGroupBox *>(control)) {
        if (!group->title().isEmpty()) {
            part("title", QRect(0, 0, group->width(), group->fontMetrics().height()));
        }
    } else if (auto *label = qobject_cast<QLabel *>(control)) {
        // A shadow is a label with the text of the one over it: drawn to lift that one, not to be read.
        const QObjectList &siblings = label->parentWidget()->children();
        const bool shadow = std::any_of(siblings.begin() + siblings.indexOf(label) + 1, siblings.end(), [&](QObject *o) {
            auto *over = qobject_cast<QLabel *>(o);
            return over && over->text() == label->text() && over->geometry().intersects(label->geometry());
        });
        if (!label->text().isEmpty() && !shadow) {
            part("text", label->rect());
        }
    } else if (auto *button = qobject_cast<QAbstractButton *>(control)) {
        if (!button->text().isEmpty()) {
            part("text", button->rect());
        }
    } else if (qobject_cast<QLineEdit *>(control) || qobject_cast<QAbstractSpinBox *>(control) ||
               qobject_cast<QComboBox *>(control) || qobject_cast<QPlainTextEdit *>(control)) {
        part("text", control->rect());
    }
    return parts;
}

// Named controls that are smaller than their content needs or stick out of their parent, and
// those with text that does not read: below 4.5:1 against what is behind it, measured from the
// pixels (the entry then says which text and how much).
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
        for (const auto &[what, pixels] : TextParts(control)) {
            const double contrast = testsupport::InkContrast(pixels);
            if (contrast < ReadableContrast) {
                clipped << QString("%1 %2 %3:1").arg(name, what).arg(contrast, 0, 'f', 1);
            }
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
// again, under a light, a dark and a high-contrast desktop theme; each case is named
// "<prefix>_<nl|en>_<dpi>[_<theme>]", the name of its screenshot.
template <class Look> void ForEachLanguageAndTextSize(const char *prefix, Look look)
{
    for (const testsupport::TTheme theme : testsupport::Themes) {
        const testsupport::TScopedTheme themed(theme);
        for (const TLanguage language : {lnDutch, lnEnglish}) {
            for (const double scale : {1.0, 1.5}) {
                QString name = QString("%1_%2_%3").arg(prefix, language == lnDutch ? "nl" : "en").arg(scale * 96);
                if (theme != testsupport::TTheme::Light) {
                    name += QString("_") + testsupport::ThemeName(theme);
                }
                SCOPED_TRACE(name.toStdString());
                look(language, scale, name);
            }
        }
    }
}

} // namespace dialogtest
