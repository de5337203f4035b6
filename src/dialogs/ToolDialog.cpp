#include "dialogs/ToolDialog.h"

#include "components/kxStandard.h"
#include "date/DateFormat.h"
#include "platform/Screen.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QLayout>
#include <QShowEvent>
#include <algorithm>
#include <cctype>
#include <cmath>

TToolDialog::TToolDialog(const QString &name, QSize referenceSize, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      mReferenceSize(referenceSize)
{
    setObjectName(name);
}

void TToolDialog::showEvent(QShowEvent *event)
{
    // Restoring a minimised window is no new showing.
    if (!event->spontaneous()) {
        FormShow();
        FitAndCentre();
    }
    QDialog::showEvent(event);
}

int TToolDialog::Scaled(int pixels) const
{
    return qRound(pixels * logicalDpiY() / 96.0);
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

void TToolDialog::FitAndCentre()
{
    // Texts set just now must reach every nested layout before the size is taken.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    layout()->activate();
    const QSize reference(Scaled(mReferenceSize.width()), Scaled(mReferenceSize.height()));
    const QSize size = reference.expandedTo(sizeHint()).expandedTo(minimumSizeHint());
    setFixedSize(size);
    const TScreenMetrics screen = PrimaryScreenMetrics();
    move(std::max(0, (screen.Width - size.width()) / 2), std::max(0, (screen.Height - size.height()) / 2));
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

std::int64_t WholeDayNumber(TDateTime date)
{
    if (std::isnan(date)) {
        return 0;
    }
    return static_cast<std::int64_t>(std::clamp(std::trunc(date), MinDateSerial, MaxDateSerial));
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

QDateEdit *NewDatePicker(const char *name, bool calendarPopup, QWidget *parent)
{
    auto *picker = new QDateEdit(parent);
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
