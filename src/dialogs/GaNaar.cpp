#include "dialogs/GaNaar.h"

#include "components/MonthCalendar.h"
#include "components/kxStandard.h"
#include "date/DateFormat.h"
#include "date/SerialText.h"
#include "dialogs/LanguageTables.h"
#include "dialogs/NamedControls.h"
#include "platform/SvgIcon.h"

#include <QDateEdit>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The first serial after 31 December 9999.
constexpr double SerialLimit = MaxDateSerial + 1;

QRadioButton *NewRadio(QWidget *parent, const char *name, const char *text)
{
    auto *radio = Named<QRadioButton>(parent, name);
    radio->setText(text);
    return radio;
}

// A spin field that takes any whole number typed, so a number beyond the range is never cut short
// while it is typed; the value used is clamped to the range. Text that is no whole number (an
// emptied field) counts as the field's empty value, on every path: OK, Enter, or leaving the field.
class TWholeNumberSpin final : public QSpinBox {
public:
    TWholeNumberSpin(QWidget *parent, int minimum, int maximum, int emptyValue)
        : QSpinBox(parent), FEmptyValue(emptyValue)
    {
        setRange(minimum, maximum);
    }

    // The typed text as the value it stands for.
    int TypedValue() const { return valueFromText(cleanText()); }

protected:
    // A character that no whole number holds (a decimal separator, a letter) is refused, and the
    // field says so rather than drop it unseen.
    void keyPressEvent(QKeyEvent *event) override
    {
        const QString text = event->text();
        const bool typed = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (typed && text.size() == 1 && text.front().isPrint() && !text.front().isDigit() && !text.front().isSpace() &&
            text != "-" && text != "+") {
            const auto *dialog = qobject_cast<const TToolDialog *>(window());
            const TLanguageTexts &texts = LanguageTexts(dialog ? dialog->Language() : lnDutch);
            QToolTip::showText(mapToGlobal(QPoint(0, height())), QString::fromUtf8(texts.WholeNumbersOnly), this);
            event->accept();
            return;
        }
        QSpinBox::keyPressEvent(event);
    }

    // A sign and digits, blanks around; the sign and digits captured.
    static const QRegularExpression &WholeNumber()
    {
        static const QRegularExpression pattern(QStringLiteral("^\\s*([+-]?)([0-9]*)\\s*$"));
        return pattern;
    }

    QValidator::State validate(QString &text, int &) const override
    {
        const QRegularExpressionMatch match = WholeNumber().match(text);
        if (!match.hasMatch())
            return QValidator::Invalid;
        return match.capturedLength(2) > 0 ? QValidator::Acceptable : QValidator::Intermediate;
    }

    void fixup(QString &text) const override { text = QString::number(valueFromText(text)); }

    int valueFromText(const QString &text) const override
    {
        const QRegularExpressionMatch match = WholeNumber().match(text);
        if (!match.hasMatch() || match.capturedLength(2) == 0)
            return FEmptyValue;
        bool ok = false;
        const qlonglong value = match.captured(2).toLongLong(&ok);
        const bool negative = match.captured(1) == QLatin1String("-");
        if (!ok) // more digits than any number the field could hold
            return negative ? minimum() : maximum();
        return int(std::clamp<qlonglong>(negative ? -value : value, minimum(), maximum()));
    }

private:
    int FEmptyValue;
};

TWholeNumberSpin *NewSpin(QWidget *parent, const char *name, int minimum, int maximum, int value,
                          int emptyValue)
{
    auto *spin = new TWholeNumberSpin(parent, minimum, maximum, emptyValue);
    spin->setObjectName(name);
    spin->setValue(value);
    return spin;
}

} // namespace

TForm_GaNaar::TForm_GaNaar(TMonthCalendar *monthView, QWidget *parent)
    : TToolDialog("Form_GaNaar", QSize(185, 304), parent), FMonthView(monthView)
{
    Q_ASSERT(monthView);
    setWindowTitle("Ga naar");
    CreateControls();
    for (QWidget *field : std::initializer_list<QWidget *>{SpinEdit_Jaren, SpinEdit_Maanden, SpinEdit_Dagen,
                                                           DateTimePicker1, SpinEditEaster, EditDateSince}) {
        field->installEventFilter(this);
    }
    connect(BitBtn_OK, &QPushButton::clicked, this, &TForm_GaNaar::BitBtn_OKClick);
    connect(SpeedButtonConvert, &QToolButton::clicked, this, &TForm_GaNaar::SpeedButtonConvertClick);
}

void TForm_GaNaar::CreateControls()
{
    GroupBox1 = Named<QGroupBox>(this, "GroupBox1");
    QWidget *box = GroupBox1;
    RadioButton_Vandaag = NewRadio(box, "RadioButton_Vandaag", "Vandaag");
    RadioButton_Vandaag->setChecked(true);
    RadioButton_Jaren = NewRadio(box, "RadioButton_Jaren", "Jaren");
    // An emptied offset field means no offset; an emptied year the first year of the range.
    SpinEdit_Jaren = NewSpin(box, "SpinEdit_Jaren", -150, 150, 0, 0);
    Label_Maanden = NewLabel(box, "Label_Maanden", "Maanden");
    SpinEdit_Maanden = NewSpin(box, "SpinEdit_Maanden", -500, 500, 0, 0);
    Label_Dagen = NewLabel(box, "Label_Dagen", "Dagen");
    SpinEdit_Dagen = NewSpin(box, "SpinEdit_Dagen", -8000, 8000, 0, 0);
    Label_Maanden->setBuddy(SpinEdit_Maanden);
    Label_Dagen->setBuddy(SpinEdit_Dagen);
    RadioButton_Datum = NewRadio(box, "RadioButton_Datum", "Datum");
    DateTimePicker1 = NewDatePicker("DateTimePicker1", false, box);
    RadioButtonEasterSunday = NewRadio(box, "RadioButtonEasterSunday", "Paaszondag");
    SpinEditEaster = NewSpin(box, "SpinEditEaster", 1900, 2500, 1900, 1900);
    RadioButtonDateAsFloat = NewRadio(box, "RadioButtonDateAsFloat", "Datum als getal");
    EditDateSince = Named<QLineEdit>(box, "EditDateSince");
    EditDateSince->setText("0");
    SpeedButtonConvert = Named<QToolButton>(box, "SpeedButtonConvert");
    SpeedButtonConvert->setAutoRaise(true);
    SpeedButtonConvert->setFocusPolicy(Qt::TabFocus); // reached with Tab, not taken by a click
    SpeedButtonConvert->setIcon(SvgIcon(":/art/app/convert.svg"));
    LabelDateSince = Named<QLabel>(box, "LabelDateSince");
    LabelDateSince->setWordWrap(true); // a date with a time of day takes two lines
    LabelOutOfRange = NewLabel(this, "LabelOutOfRange", "Deze datum ligt buiten het bereik van de kalender.");
    LabelOutOfRange->setWordWrap(true);
    LabelOutOfRange->hide();
    BitBtn_OK = NewOkButton();

    for (QSpinBox *spin : {SpinEdit_Jaren, SpinEdit_Maanden, SpinEdit_Dagen, SpinEditEaster}) {
        spin->setMinimumWidth(Scaled(60));
    }
    DateTimePicker1->setMinimumWidth(Scaled(90));

    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(Scaled(10), Scaled(8), Scaled(8), Scaled(8));
    grid->setHorizontalSpacing(Scaled(4));
    grid->setVerticalSpacing(Scaled(3));
    // The offset labels stand under the radio buttons' captions.
    grid->setColumnMinimumWidth(0, style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                                       style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing));
    grid->setColumnStretch(1, 1);
    grid->addWidget(RadioButton_Vandaag, 0, 0, 1, 3);
    grid->addWidget(RadioButton_Jaren, 1, 0, 1, 2);
    grid->addWidget(SpinEdit_Jaren, 1, 2);
    grid->addWidget(Label_Maanden, 2, 1);
    grid->addWidget(SpinEdit_Maanden, 2, 2);
    grid->addWidget(Label_Dagen, 3, 1);
    grid->addWidget(SpinEdit_Dagen, 3, 2);
    grid->addWidget(RadioButton_Datum, 4, 0, 1, 3);
    grid->addWidget(DateTimePicker1, 5, 1, 1, 2, Qt::AlignRight);
    grid->addWidget(RadioButtonEasterSunday, 6, 0, 1, 3);
    grid->addWidget(SpinEditEaster, 7, 2);
    grid->addWidget(RadioButtonDateAsFloat, 8, 0, 1, 3);
    auto *number = new QHBoxLayout;
    number->setSpacing(0);
    number->addWidget(EditDateSince);
    number->addWidget(SpeedButtonConvert);
    number->addSpacing(Scaled(5));
    number->addWidget(LabelDateSince, 1);
    grid->addLayout(number, 9, 0, 1, 3);
    grid->setRowStretch(10, 1);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(Scaled(8), Scaled(6), Scaled(8), Scaled(6));
    outer->setSpacing(Scaled(5));
    outer->addWidget(GroupBox1, 1);
    outer->addWidget(LabelOutOfRange);
    outer->addWidget(BitBtn_OK, 0, Qt::AlignHCenter);
}

void TForm_GaNaar::FormShow()
{
    const TDateTime today = Today();
    UpdatePickerFormat(DateTimePicker1);
    DateTimePicker1->setDate(ToQDate(today));
    SpinEditEaster->setValue(SplitDate(today).Year);
    EditDateSince->setText(QString::number(WholeDayNumber(CurrentDate)));
    LabelDateSince->setText(ShortDate(CurrentDate));
    LabelOutOfRange->hide();

    FitNumberRow();

    // The keyboard starts at the chosen mode; arriving there selects nothing new.
    for (QRadioButton *radio : {RadioButton_Vandaag, RadioButton_Jaren, RadioButton_Datum,
                                RadioButtonEasterSunday, RadioButtonDateAsFloat}) {
        if (radio->isChecked()) {
            radio->setFocus(Qt::OtherFocusReason);
        }
    }
}

void TForm_GaNaar::FitNumberRow()
{
    // Room for the label's longest reading, a date over a time of day, and for a serial with a
    // fraction; the glyph grows with the text.
    const QFontMetrics metrics(font());
    const TDateTime widest = MakeDate(2000, 12, 28) + (23 * 3600 + 59 * 60 + 59) / 86400.0;
    const int textWidth =
        std::max(metrics.horizontalAdvance(ShortDate(widest)),
                 metrics.horizontalAdvance(QString::fromStdString(FormatDateStandard("tt", widest))));
    const int labelWidth = std::max(Scaled(63), textWidth + 2);
    // As high as the label lays out the two lines: some fonts space them wider than their line
    // spacing says.
    const QString twoLines = QString::fromStdString(FormatDateStandard("c", widest));
    const QRect laidOut = metrics.boundingRect(QRect(0, 0, labelWidth, 1000), Qt::TextWordWrap, twoLines);
    LabelDateSince->setMinimumSize(labelWidth, std::max(2 * metrics.lineSpacing(), laidOut.height()));
    EditDateSince->setFixedWidth(std::max(Scaled(62), metrics.horizontalAdvance("0000000.0") + Scaled(8)));
    const int glyph = std::max(Scaled(16), metrics.height() - Scaled(2));
    SpeedButtonConvert->setIconSize(QSize(glyph, glyph));
    SpeedButtonConvert->setFixedWidth(std::max(Scaled(23), SpeedButtonConvert->sizeHint().width()));
}

void TForm_GaNaar::BitBtn_OKClick()
{
    if (RadioButton_Datum->isChecked() && !TakeTypedDate(DateTimePicker1)) {
        return; // half typed: the field has said what is missing
    }
    // The fields show the values the jump uses.
    for (QSpinBox *spin : {SpinEdit_Jaren, SpinEdit_Maanden, SpinEdit_Dagen, SpinEditEaster}) {
        spin->setValue(static_cast<const TWholeNumberSpin *>(spin)->TypedValue());
    }
    try {
        FMonthView->SetDate(ChosenDate());
    } catch (const EDateError &) {
        ShowOutOfRange();
        return;
    }
    accept();
}

// A jump beyond 1 January 1 .. 31 December 9999 leaves the month view where it was; the dialog
// stays open and says why, growing to hold the message.
void TForm_GaNaar::ShowOutOfRange()
{
    LabelOutOfRange->show();
    layout()->activate();
    setFixedHeight(std::max(height(), layout()->totalHeightForWidth(width())));
}

TDateTime TForm_GaNaar::ChosenDate() const
{
    if (RadioButton_Vandaag->isChecked()) {
        return Today();
    }
    if (RadioButton_Jaren->isChecked()) {
        return ShiftDate(CurrentDate, SpinEdit_Dagen->value(), SpinEdit_Maanden->value(),
                         SpinEdit_Jaren->value());
    }
    if (RadioButton_Datum->isChecked()) {
        return FromQDate(DateTimePicker1->date());
    }
    if (RadioButtonEasterSunday->isChecked()) {
        return EasterSundayOf(SpinEditEaster->value());
    }
    return NumberModeDate();
}

TDateTime TForm_GaNaar::NumberModeDate() const
{
    const double value = DateSinceValue();
    if (value < 0 || value >= SerialLimit) {
        throw ERangeError(); // before day 0 or beyond 31 December 9999, like any other jump out of range
    }
    return value;
}

// Read with the user's decimal separator, "." or ","; anything else counts as 0.
double TForm_GaNaar::DateSinceValue() const
{
    return ParseDateSerial(EditDateSince->text().toStdString(), ProgramFormatSettings().DecimalSeparator)
        .value_or(0);
}

void TForm_GaNaar::SpeedButtonConvertClick()
{
    double value = DateSinceValue();
    if (value < 0) {
        EditDateSince->setText("0");
        value = 0;
    }
    LabelDateSince->setText(value < SerialLimit ? QString::fromStdString(FormatDateStandard("c", value))
                                                : "?");
}

void TForm_GaNaar::DateTimePicker1Enter()
{
    RadioButton_Datum->setChecked(true);
}

void TForm_GaNaar::SpinEditEasterEnter()
{
    RadioButtonEasterSunday->setChecked(true);
}

void TForm_GaNaar::SpinEdit_JarenEnter()
{
    RadioButton_Jaren->setChecked(true);
}

void TForm_GaNaar::EditDateSinceEnter()
{
    RadioButtonDateAsFloat->setChecked(true);
}

bool TForm_GaNaar::SpinEdit_MaandenKeyDown(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        return false;
    }
    if (!event->isAutoRepeat()) {
        BitBtn_OKClick();
    }
    return true; // taken here, so the default button does not carry out OK a second time
}

bool TForm_GaNaar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        return SpinEdit_MaandenKeyDown(static_cast<QKeyEvent *>(event));
    }
    if (event->type() == QEvent::FocusIn) {
        // Coming back to the window or out of a menu is no entering of the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == SpinEdit_Jaren || watched == SpinEdit_Maanden || watched == SpinEdit_Dagen) {
                SpinEdit_JarenEnter();
            } else if (watched == DateTimePicker1) {
                DateTimePicker1Enter();
            } else if (watched == SpinEditEaster) {
                SpinEditEasterEnter();
            } else if (watched == EditDateSince) {
                EditDateSinceEnter();
            }
        }
    }
    return TToolDialog::eventFilter(watched, event);
}

void TForm_GaNaar::keyPressEvent(QKeyEvent *event)
{
    // There is no cancel button: Escape does nothing, only the title bar closes without a jump.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    TToolDialog::keyPressEvent(event);
}
