#include "dialogs/DatumInfo.h"

#include "components/kxAccessible.h"
#include "components/kxStandard.h"
#include "dialogs/DatumInfoFacts.h"
#include "platform/Colors.h"
#include "settings/Settings.h"

#include <QApplication>

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <utility>

namespace {

QString FromUtf8(const std::string &text)
{
    return QString::fromStdString(text);
}

} // namespace

TForm_DatumInfo::TForm_DatumInfo(const TSettingsModel &settings, QWidget *parent)
    : TToolDialog("Form_DatumInfo", QSize(255, 451), parent), FSettings(settings)
{
    setWindowTitle("Datum info");
    CreateControls();
    connect(CheckBoxLeapYear, &QCheckBox::clicked, this, &TForm_DatumInfo::CheckBoxLeapYearClick);
    connect(DateTimePickerUntil, &QDateEdit::dateChanged, this, &TForm_DatumInfo::DateTimePickerUntilChange);
    connect(BitBtn_OK, &QPushButton::clicked, this, &TForm_DatumInfo::BitBtn_OKClick);
}

QGridLayout *TForm_DatumInfo::NewGroup(QVBoxLayout *column, QGroupBox *&group, const char *name,
                                       const char *title)
{
    group = new QGroupBox(title, this);
    group->setObjectName(name);
    column->addWidget(group);
    auto *grid = new QGridLayout(group);
    grid->setContentsMargins(Scaled(2), Scaled(2), Scaled(8), Scaled(4));
    grid->setHorizontalSpacing(Scaled(6));
    grid->setVerticalSpacing(Scaled(2));
    grid->setColumnStretch(1, 1);
    FGrids.append(grid);
    return grid;
}

QLabel *TForm_DatumInfo::NewCaption(QWidget *parent, const char *name, const char *text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLabel *TForm_DatumInfo::NewValue(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    // Reached with Tab, so a screen reader reads each fact with its caption.
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setFocusPolicy(Qt::TabFocus);
    return label;
}

void TForm_DatumInfo::CreateControls()
{
    PanelDate = new QLabel(this);
    PanelDate->setObjectName("PanelDate");
    PanelDate->setAlignment(Qt::AlignCenter);
    PanelDate->setAutoFillBackground(true);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, Scaled(4));
    outer->setSpacing(0);
    outer->addWidget(PanelDate);
    // Where the screen cannot hold every group whole, the groups scroll rather than the window
    // leave the screen.
    auto *groups = new QWidget;
    auto *column = new QVBoxLayout(groups);
    column->setContentsMargins(Scaled(8), Scaled(4), Scaled(7), 0);
    column->setSpacing(Scaled(2));
    outer->addWidget(new TFitScrollArea(groups, this));

    QGridLayout *year = NewGroup(column, GroupBoxYear, "GroupBoxYear", "Jaar");
    LabelJaar = NewCaption(GroupBoxYear, "LabelJaar", "Jaar");
    ntLabelYear = NewValue(GroupBoxYear, "ntLabelYear");
    CheckBoxLeapYear = new QCheckBox("Schrikkeljaar", GroupBoxYear);
    CheckBoxLeapYear->setObjectName("CheckBoxLeapYear");
    CheckBoxLeapYear->setLayoutDirection(Qt::RightToLeft); // the caption left of the box
    CheckBoxLeapYear->setFocusPolicy(Qt::NoFocus);
    LabelDaysInYear = NewCaption(GroupBoxYear, "LabelDaysInYear", "Dagen in jaar");
    ntLabelDaysInYear = NewValue(GroupBoxYear, "ntLabelDaysInYear");
    year->addWidget(LabelJaar, 0, 0);
    year->addWidget(ntLabelYear, 0, 1);
    // Absolute: the box runs right to left, its place in the grid does not.
    year->addWidget(CheckBoxLeapYear, 1, 0, 1, 2, Qt::AlignLeft | Qt::AlignAbsolute);
    year->addWidget(LabelDaysInYear, 2, 0);
    year->addWidget(ntLabelDaysInYear, 2, 1);

    QGridLayout *month = NewGroup(column, GroupBoxMonth, "GroupBoxMonth", "Maand");
    LabelMonth = NewCaption(GroupBoxMonth, "LabelMonth", "Maand");
    ntLabelMonthNo = NewValue(GroupBoxMonth, "ntLabelMonthNo");
    ntLabelMonthname = NewValue(GroupBoxMonth, "ntLabelMonthname");
    LabelDaysInMonth = NewCaption(GroupBoxMonth, "LabelDaysInMonth", "Dagen in maand");
    ntLabelDaysInMonth = NewValue(GroupBoxMonth, "ntLabelDaysInMonth");
    month->addWidget(LabelMonth, 0, 0);
    month->addWidget(ntLabelMonthNo, 0, 1);
    month->addWidget(ntLabelMonthname, 1, 1);
    month->addWidget(LabelDaysInMonth, 2, 0);
    month->addWidget(ntLabelDaysInMonth, 2, 1);

    QGridLayout *week = NewGroup(column, GroupBoxWeek, "GroupBoxWeek", "Week");
    LabelISOWeekNo = NewCaption(GroupBoxWeek, "LabelISOWeekNo", "ISO weeknummer");
    ntLabelWeekNo = NewValue(GroupBoxWeek, "ntLabelWeekNo");
    week->addWidget(LabelISOWeekNo, 0, 0);
    week->addWidget(ntLabelWeekNo, 0, 1);

    QGridLayout *day = NewGroup(column, GroupBoxDay, "GroupBoxDay", "Dag");
    LabelDay = NewCaption(GroupBoxDay, "LabelDay", "Dag");
    ntLabelDay = NewValue(GroupBoxDay, "ntLabelDay");
    LabelDayInWeek = NewCaption(GroupBoxDay, "LabelDayInWeek", "Dag in week");
    ntLabelDayNo = NewValue(GroupBoxDay, "ntLabelDayNo");
    ntLabelDayName = NewValue(GroupBoxDay, "ntLabelDayName");
    LabelDayNoInYear = NewCaption(GroupBoxDay, "LabelDayNoInYear", "Dagnummer in jaar");
    ntLabelDayNoYear = NewValue(GroupBoxDay, "ntLabelDayNoYear");
    LabelDayInMonth = new QLabel(GroupBoxDay);
    LabelDayInMonth->setObjectName("LabelDayInMonth");
    LabelDayInMonth->setIndent(Scaled(8));
    day->addWidget(LabelDay, 0, 0);
    day->addWidget(ntLabelDay, 0, 1);
    day->addWidget(LabelDayInWeek, 1, 0);
    day->addWidget(ntLabelDayNo, 1, 1);
    day->addWidget(ntLabelDayName, 2, 1);
    day->addWidget(LabelDayNoInYear, 3, 0);
    day->addWidget(ntLabelDayNoYear, 3, 1);
    day->addWidget(LabelDayInMonth, 4, 0, 1, 2);

    // The serial number has its own split: a long caption and a short number.
    GroupBoxDateAsFloat = new QGroupBox("Datum als getal", this);
    GroupBoxDateAsFloat->setObjectName("GroupBoxDateAsFloat");
    column->addWidget(GroupBoxDateAsFloat);
    LabelDaysSinceNull = NewCaption(GroupBoxDateAsFloat, "LabelDaysSinceNull", "");
    LabelDaysSinceNull->setText("Dagen sinds " + ShortDate(0));
    LabelDaysSince = NewValue(GroupBoxDateAsFloat, "LabelDaysSince");
    LabelDaysSince->setMinimumWidth(Scaled(73));
    auto *serial = new QHBoxLayout(GroupBoxDateAsFloat);
    serial->setContentsMargins(Scaled(2), Scaled(2), Scaled(8), Scaled(4));
    serial->setSpacing(Scaled(8));
    serial->addWidget(LabelDaysSinceNull, 1);
    serial->addWidget(LabelDaysSince);

    QGridLayout *between =
        NewGroup(column, GroupBoxDaysBetween, "GroupBoxDaysBetween", "Aantal dagen tussen huidige datum en");
    DateTimePickerUntil = NewDatePicker("DateTimePickerUntil", true, GroupBoxDaysBetween);
    DateTimePickerUntil->setMinimumWidth(Scaled(90));
    LabelCount = NewValue(GroupBoxDaysBetween, "LabelCount");
    LabelCount->setText("0");
    CountAnnouncer = new TkxAnnouncer(GroupBoxDaysBetween);
    between->setContentsMargins(Scaled(2), Scaled(4), Scaled(8), Scaled(6));
    between->addWidget(DateTimePickerUntil, 0, 0, Qt::AlignRight);
    between->addWidget(LabelCount, 0, 1);

    outer->addStretch(1);
    outer->addSpacing(Scaled(4));
    BitBtn_OK = NewOkButton();
    outer->addWidget(BitBtn_OK, 0, Qt::AlignHCenter);

    // Each value is read with its caption ("Dagnummer in jaar: 267").
    for (auto [caption, value] : {std::pair{LabelJaar, ntLabelYear}, {LabelDaysInYear, ntLabelDaysInYear},
                                  {LabelMonth, ntLabelMonthNo}, {LabelDaysInMonth, ntLabelDaysInMonth},
                                  {LabelISOWeekNo, ntLabelWeekNo}, {LabelDay, ntLabelDay},
                                  {LabelDayInWeek, ntLabelDayNo}, {LabelDayNoInYear, ntLabelDayNoYear},
                                  {LabelDaysSinceNull, LabelDaysSince}}) {
        caption->setBuddy(value);
    }
}

void TForm_DatumInfo::ApplyLanguageTexts(TLanguage language)
{
    LabelDaysSinceNull->setText(FromUtf8(DaysSinceCaption(language, ProgramFormatSettings())));
}

void TForm_DatumInfo::FormShow()
{
    const TDateInfoFacts facts = DateInfoFacts(CurrentDate, Language(), ProgramFormatSettings());
    QPalette palette = PanelDate->palette();
    // The month view's title colours, as shown there.
    const bool dark = IsDarkPalette(QApplication::palette());
    palette.setColor(QPalette::Window, ToQColor(ShownColor(FSettings.Record(), ViewColors[1], dark)));
    palette.setColor(QPalette::WindowText, ToQColor(ShownColor(FSettings.Record(), ViewColors[2], dark)));
    PanelDate->setPalette(palette);
    // Bold, 13 pixels at 96 dpi, never smaller than the sheet's own text.
    QFont title = font();
    title.setBold(true);
    title.setPixelSize(std::max(Scaled(13), QFontInfo(font()).pixelSize()));
    PanelDate->setFont(title);
    PanelDate->setFixedHeight(std::max(Scaled(24), QFontMetrics(title).height() + Scaled(6)));
    PanelDate->setText(FromUtf8(facts.ShortDate));

    ntLabelYear->setNum(facts.Year);
    CheckBoxLeapYear->setChecked(facts.LeapYear);
    ntLabelDaysInYear->setNum(facts.DaysInYear);
    ntLabelMonthNo->setNum(facts.Month);
    ntLabelMonthname->setText(FromUtf8(facts.MonthName));
    ntLabelDaysInMonth->setNum(facts.DaysInMonth);
    ntLabelWeekNo->setNum(facts.IsoWeek);
    UpdatePickerFormat(DateTimePickerUntil);
    {
        const QSignalBlocker blocker(DateTimePickerUntil);
        DateTimePickerUntil->setDate(ToQDate(CurrentDate));
    }
    ntLabelDay->setNum(facts.Day);
    ntLabelDayNo->setNum(facts.IsoWeekday);
    ntLabelDayName->setText(FromUtf8(facts.DayName));
    ntLabelDayNoYear->setNum(facts.DayNumberInYear);
    LabelDaysSince->setText(QString::number(facts.Serial));
    LabelDayInMonth->setText(FromUtf8(facts.Occurrence));
    // The second date now equals the shown one; the count says so rather than keeping an old one.
    DateTimePickerUntilChange();
    AlignColumns();
    DateTimePickerUntil->setFocus(); // the one field to edit, though the facts come first with Tab
}

void TForm_DatumInfo::AlignColumns()
{
    // Captions and values stand in the same two columns in every group.
    const int spacing = Scaled(6);
    const int indicator = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, CheckBoxLeapYear);
    int captionWidth = std::max(Scaled(100), CheckBoxLeapYear->sizeHint().width() - indicator - spacing);
    int valueWidth = Scaled(120);
    for (QGridLayout *grid : FGrids) {
        for (int i = 0; i < grid->count(); ++i) {
            int row, col, rowSpan, colSpan;
            grid->getItemPosition(i, &row, &col, &rowSpan, &colSpan);
            if (colSpan == 1) {
                int &widest = col == 0 ? captionWidth : valueWidth;
                widest = std::max(widest, grid->itemAt(i)->widget()->sizeHint().width());
            }
        }
    }
    for (QGridLayout *grid : FGrids) {
        grid->setColumnMinimumWidth(0, captionWidth);
        grid->setColumnMinimumWidth(1, valueWidth);
    }
    // The box itself stands at the start of the value column.
    CheckBoxLeapYear->setFixedWidth(captionWidth + spacing + indicator);
}

void TForm_DatumInfo::BitBtn_OKClick()
{
    accept();
}

void TForm_DatumInfo::CheckBoxLeapYearClick()
{
    CheckBoxLeapYear->setChecked(IsLeap(SplitDate(CurrentDate).Year));
}

void TForm_DatumInfo::DateTimePickerUntilChange()
{
    try {
        LabelCount->setText(
            QString::number(WholeDaysBetween(FromQDate(DateTimePickerUntil->date()), CurrentDate)));
    } catch (const std::exception &) {
        LabelCount->setText("0");
    }
    if (DateTimePickerUntil->hasFocus()) // the user changed it: a screen reader speaks the new count
        CountAnnouncer->Announce(LabelCount->text());
}
