#include "dialogs/ToolDialog.h"

#include "components/kxStandard.h"
#include "date/DateFormat.h"
#include "dialogs/DialogHelpers.h"
#include "dialogs/LanguageTables.h"
#include "platform/Screen.h"

#include <QApplication>
#include <QDateEdit>
#include <QLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QToolTip>
#include <array>
#include <algorithm>
#include <cctype>
#include <cmath>

TToolDialog::TToolDialog(const QString &name, QSize referenceSize, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      FReferenceSize(referenceSize), FScale(PrimaryScreenMetrics().Dpi / 96.0)
{
    setObjectName(name);
}

void TToolDialog::setVisible(bool visible)
{
    // Restoring a minimised window is no new showing.
    const bool showing = visible && !isVisible();
    if (showing) {
        // FormShow sees the window's style and fonts as they will show.
        ensurePolished();
        FormShow();
        FPlacingLeft = 3;
        FitAndCentre();
        for (const TFitScrollArea *area : findChildren<TFitScrollArea *>()) {
            area->verticalScrollBar()->setValue(0);
        }
    }
    QDialog::setVisible(visible);
    // Some platforms frame the window as it shows; others do it later (see moveEvent).
    if (showing && KnownFrameMargins() != FFrameMargins) {
        FitAndCentre();
    }
}

// The window manager has framed the window: the frame, not the client area, is centred. Until
// the framed window has been seen where it was centred, a move is the window system's own (a
// place taken before the frame and size were known), not the user's: the window is centred
// again, a few times at most, so a window manager that insists has its way.
void TToolDialog::moveEvent(QMoveEvent *event)
{
    QDialog::moveEvent(event);
    if (!isVisible()) {
        return;
    }
    const bool framed = KnownFrameMargins() != FFrameMargins;
    const bool elsewhere = frameGeometry().topLeft() != FCentredAt;
    if (framed || (elsewhere && FPlacingLeft > 0)) {
        FPlacingLeft -= framed ? 0 : 1;
        FitAndCentre();
    } else if (!elsewhere && !FFrameMargins.isNull()) {
        FPlacingLeft = 0;
    }
}

int TToolDialog::Scaled(int pixels) const
{
    return qRound(pixels * FScale);
}

TkxBitBtn *TToolDialog::NewOkButton()
{
    auto *button = new TkxBitBtn(this);
    button->setObjectName("BitBtn_OK");
    button->SetResourceBitmap(":/art/app/ok.svg");
    button->setText("&OK");
    button->setDefault(true);
    button->setMinimumSize(Scaled(100), Scaled(25));
    return button;
}

// The frame of the shown window once the window manager has drawn it; before that the frame last
// seen, and before the first showing the frame of the window the dialog belongs to, which the
// same window manager draws.
QMargins TToolDialog::KnownFrameMargins() const
{
    const auto margins = [](const QWidget *window) {
        const QRect frame = window->frameGeometry(), client = window->geometry();
        return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                        frame.bottom() - client.bottom());
    };
    if (isVisible() && !margins(this).isNull()) {
        return margins(this);
    }
    if (!FFrameMargins.isNull() || !parentWidget()) {
        return FFrameMargins;
    }
    const QWidget *owner = parentWidget()->window();
    return owner->isVisible() ? margins(owner) : FFrameMargins;
}

void TToolDialog::FitAndCentre()
{
    FFrameMargins = KnownFrameMargins();
    SettleLayouts(this);
    const QSize room = AvailableArea().size().shrunkBy(FFrameMargins).expandedTo(QSize(1, 1));
    const QSize reference(Scaled(FReferenceSize.width()), Scaled(FReferenceSize.height()));
    QSize size = reference.expandedTo(sizeHint()).expandedTo(minimumSizeHint());
    // Content cut short scrolls, and its scroll bar needs room beside it; one pixel more keeps
    // the content whole where a fractional screen scale rounds the room down.
    if (size.height() > room.height()) {
        for (const TFitScrollArea *area : findChildren<TFitScrollArea *>()) {
            size.rwidth() += area->verticalScrollBar()->sizeHint().width() + 1;
        }
    }
    setFixedSize(size.boundedTo(room));
    Centre();
}

// The screen that holds the window the dialog belongs to, or else its own.
QRect TToolDialog::AvailableArea() const
{
    const QWidget *owner = parentWidget() ? parentWidget()->window() : this;
    return AvailableAreaOf(owner->screen());
}

void TToolDialog::Centre()
{
    const QRect area = AvailableArea();
    const QSize frame = size().grownBy(FFrameMargins);
    FCentredAt = QPoint(area.left() + std::max(0, (area.width() - frame.width()) / 2),
                        area.top() + std::max(0, (area.height() - frame.height()) / 2));
    move(FCentredAt);
}

TFitScrollArea::TFitScrollArea(QWidget *content, QWidget *parent) : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    setWidgetResizable(true);
    setWidget(content);
    // Tab goes to the controls inside, never to the area itself; a control that gets the focus
    // within the window is scrolled into view. The window opens at its top, whichever control
    // has the focus then: what heads the sheet is read first.
    setFocusPolicy(Qt::NoFocus);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *before, QWidget *now) {
        if (now && before && before->window() == window() && widget()->isAncestorOf(now)) {
            ensureWidgetVisible(now);
        }
    });
    // The window's own background shows through.
    viewport()->setAutoFillBackground(false);
    content->setAutoFillBackground(false);
}

QSize TFitScrollArea::sizeHint() const
{
    // QScrollArea's own hint is taken once and capped at a few dozen lines.
    const int frame = 2 * frameWidth();
    return widget()->sizeHint().expandedTo(widget()->minimumSizeHint()) + QSize(frame, frame);
}

QDate ToQDate(TDateTime date)
{
    const TDateParts parts = SplitDate(date);
    return QDate(parts.Year, parts.Month, parts.Day);
}

TDateTime FromQDate(QDate date)
{
    return MakeDate(date.year(), date.month(), date.day());
}

QString ShortDate(TDateTime date)
{
    return QString::fromStdString(FormatDateStandard("ddddd", date));
}

namespace {

QString QuotedLiteral(const std::string &text)
{
    return "'" + QString::fromStdString(text).replace("'", "''") + "'";
}

} // namespace

QString PickerDisplayFormat(const TFormatSettings &settings)
{
    const std::string &pattern = settings.ShortDateFormat;
    QString format;
    std::string literal; // pending literal text, kept as bytes so UTF-8 stays whole
    bool day = false, month = false, year = false;
    auto flush = [&] {
        if (!literal.empty()) {
            format += QuotedLiteral(literal);
            literal.clear();
        }
    };
    for (std::size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (c == '\'' || c == '"') {
            const std::size_t end = pattern.find(c, i + 1);
            const std::size_t stop = end == std::string::npos ? pattern.size() : end;
            literal += pattern.substr(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        if (c == '/') {
            literal += settings.DateSeparator;
            ++i;
            continue;
        }
        if (lower != 'd' && lower != 'm' && lower != 'y') {
            literal += c;
            ++i;
            continue;
        }
        std::size_t run = 1;
        while (i + run < pattern.size() &&
               std::tolower(static_cast<unsigned char>(pattern[i + run])) == lower) {
            ++run;
        }
        i += run;
        flush();
        const int length = static_cast<int>(std::min<std::size_t>(run, 4));
        if (lower == 'd') {
            day = day || run <= 2;
            format += QString(length, 'd');
        } else if (lower == 'm') {
            month = true;
            format += QString(length, 'M');
        } else {
            year = true; // a picker for years 1..9999 always shows them in full
            format += "yyyy";
        }
    }
    flush();
    return day && month && year ? format : QString("dd-MM-yyyy");
}

namespace {

// The index of a date section among day (0), month (1) and year (2); -1 for any other.
int DatePart(QDateTimeEdit::Section section)
{
    return section == QDateTimeEdit::DaySection     ? 0
           : section == QDateTimeEdit::MonthSection ? 1
           : section == QDateTimeEdit::YearSection  ? 2
                                                    : -1;
}

// Which of day (0), month (1) and year (2) a picker's text leaves empty; -1 when none.
int MissingPart(const QDateEdit *picker)
{
    for (int i = 0; i < picker->sectionCount(); ++i) {
        const QDateTimeEdit::Section section = picker->sectionAt(i);
        const int part = DatePart(section);
        if (part >= 0 && picker->sectionText(section).trimmed().isEmpty())
            return part;
    }
    return -1;
}

// A date editor that takes dates as people type them: "20-06-2003", "1-1-1" or "12/31/2026". A
// separator moves on to the next part only when the present one has been typed into, so the
// separator after a part that filled itself (and moved on) is not a second step.
class TDateField final : public QDateEdit {
public:
    using QDateEdit::QDateEdit;

    // The digits typed into a part since the field took the focus: the editor itself brings a day
    // into the month it shows while the month is still to be typed ("31" of "31-12" in June).
    QString Typed(int part) const { return part < int(FTyped.size()) ? FTyped[part] : QString(); }

protected:
    void focusInEvent(QFocusEvent *event) override
    {
        FTypedInto = false;
        FTyped = {};
        QDateEdit::focusInEvent(event);
    }

    // Leaving a half-typed date (for OK, with the mouse) keeps it as typed, so that OK can say
    // what is missing instead of taking the date shown before.
    void focusOutEvent(QFocusEvent *event) override
    {
        const QString typed = text();
        const bool halfTyped = MissingPart(this) >= 0;
        QDateEdit::focusOutEvent(event);
        if (halfTyped)
            lineEdit()->setText(typed);
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        FTypedInto = false;
        QDateEdit::mousePressEvent(event);
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        const int key = event->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !TakeTypedDate(this)) {
            event->accept(); // the dialog stays open, the text as typed
            return;
        }
        const QString text = event->text();
        const bool digit = text.size() == 1 && text.front().isDigit();
        if (text.size() == 1 && text.front().isPunct() && !(event->modifiers() & Qt::ControlModifier)) {
            if (FTypedInto && currentSectionIndex() + 1 < sectionCount()) {
                setCurrentSectionIndex(currentSectionIndex() + 1);
                setSelectedSection(currentSection());
            }
            FTypedInto = false;
            event->accept();
            return;
        }
        const int part = currentSectionIndex();
        if (digit && part >= 0 && part < int(FTyped.size()))
            FTyped[part] = (FTypedInto ? FTyped[part] : QString()) + text;
        else if (part >= 0 && part < int(FTyped.size()))
            FTyped[part].clear();
        QDateEdit::keyPressEvent(event);
        if (digit)
            FTypedInto = currentSectionIndex() == part; // a full part moves on by itself
        else if (key != Qt::Key_Backspace && key != Qt::Key_Delete)
            FTypedInto = false;
    }

private:
    bool FTypedInto = false; // the present part has been typed into since the caret came to it
    std::array<QString, 3> FTyped;
};

} // namespace

bool TakeTypedDate(QDateEdit *picker)
{
    if (const int missing = MissingPart(picker); missing >= 0) {
        const auto *dialog = qobject_cast<const TToolDialog *>(picker->window());
        const TLanguageTexts &texts = LanguageTexts(dialog ? dialog->Language() : lnDutch);
        QToolTip::showText(picker->mapToGlobal(QPoint(0, picker->height())),
                           QString::fromUtf8(texts.DatePartMissing[missing]), picker);
        return false;
    }
    const auto *field = dynamic_cast<const TDateField *>(picker);
    std::array<int, 3> parts = {0, 0, 0}; // day, month, year
    for (int i = 0; i < picker->sectionCount(); ++i) {
        const QDateTimeEdit::Section section = picker->sectionAt(i);
        const int part = DatePart(section);
        if (part < 0)
            continue;
        QString number = picker->sectionText(section);
        if (field && !field->Typed(i).isEmpty())
            number = field->Typed(i);
        bool isNumber = false;
        parts[part] = number.toInt(&isNumber);
        if (!isNumber)
            return true; // a month's name: the editor's own reading
    }
    const QDate date(parts[2], parts[1], parts[0]);
    if (date.isValid() && date >= picker->minimumDate() && date <= picker->maximumDate())
        picker->setDate(date);
    return true;
}

QDateEdit *NewDatePicker(const char *name, bool calendarPopup, QWidget *parent)
{
    auto *picker = new TDateField(parent);
    picker->setObjectName(name);
    picker->setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
    picker->setCalendarPopup(calendarPopup);
    UpdatePickerFormat(picker);
    return picker;
}

void UpdatePickerFormat(QDateEdit *picker)
{
    picker->setDisplayFormat(PickerDisplayFormat(ProgramFormatSettings()));
}
