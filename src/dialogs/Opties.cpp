#include "dialogs/Opties.h"

#include "components/kxColorPick.h"
#include "components/kxFontCombobox.h"
#include "components/kxStandard.h"
#include "date/DateFormat.h"
#include "dialogs/DialogHelpers.h"
#include "dialogs/NamedControls.h"
#include "dialogs/OptiesPictures.h"
#include "dialogs/RadioGroup.h"
#include "platform/Colors.h"
#include "platform/FontFamily.h"
#include "platform/SvgIcon.h"
#include "settings/Settings.h"
#include "settings/SettingsDefaults.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtMath>
#include <algorithm>
#include <tuple>

namespace pictures = optiespictures;

namespace {

using settingsdefaults::HighestAlphaBlend;
using settingsdefaults::LowestAlphaBlend;
constexpr int EnterCharacter = 13;

const char *const FontSizes[] = {"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24"};

template <class T> T *Titled(QWidget *parent, const char *name, const char *title)
{
    auto *group = Named<T>(parent, name);
    group->setTitle(title);
    return group;
}

QCheckBox *NewCheckBox(QWidget *parent, const char *name, const char *text)
{
    auto *box = Named<QCheckBox>(parent, name);
    box->setText(QString::fromUtf8(text));
    return box;
}

TRadioGroup *NewRadioGroup(QWidget *parent, const char *name, const char *title, const QStringList &items)
{
    auto *group = Titled<TRadioGroup>(parent, name, title);
    group->SetItems(items);
    group->SetItemIndex(0);
    return group;
}

QPlainTextEdit *NewTagMemo(QWidget *parent, const char *name, const char *const (&lines)[14])
{
    auto *memo = Named<QPlainTextEdit>(parent, name);
    memo->setReadOnly(true);
    memo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    memo->setFrameShape(QFrame::NoFrame);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The memo is made as wide as its longest line; a horizontal bar that once showed while the
    // window was still narrow would stay and push the last line out of view.
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette palette = memo->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Text, palette.color(QPalette::ToolTipText));
    memo->setPalette(palette);
    // The text comes last, so the settings above do not lay it out again.
    QStringList text;
    for (const char *line : lines) {
        text << QString::fromUtf8(line);
    }
    memo->setPlainText(text.join('\n'));
    return memo;
}

// The size at which a memo shows all its text without scrolling, measured on the memo's own text
// layout, so that the lines count as wide and high as the font draws them.
QSize WholeTextSize(const QPlainTextEdit *memo)
{
    const QTextDocument *document = memo->document();
    const QAbstractTextDocumentLayout *layout = document->documentLayout();
    qreal width = 0, height = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        height += layout->blockBoundingRect(block).height(); // lays the block out when needed
        const QTextLayout *lines = block.layout();
        for (int i = 0; i < lines->lineCount(); ++i) {
            width = std::max(width, lines->lineAt(i).naturalTextWidth());
        }
    }
    // The last block holds the bottom margin; the memo scrolls when the text reaches its last
    // pixel row.
    const qreal margin = document->documentMargin();
    const int frame = 2 * memo->frameWidth();
    return {qCeil(width + 2 * margin) + memo->cursorWidth() + frame, qCeil(height + margin) + 1 + frame};
}

QToolButton *NewExampleButton(QWidget *parent, const char *name)
{
    auto *button = Named<QToolButton>(parent, name);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus); // reached with Tab, not taken by a click
    button->setIcon(SvgIcon(":/art/options/example.svg"));
    button->setToolTip("Voorbeeld");
    return button;
}

QLabel *NewPicture(QWidget *parent, const char *name)
{
    auto *picture = Named<QLabel>(parent, name);
    picture->setAlignment(Qt::AlignCenter);
    return picture;
}

// Text as a whole decimal number, or the fallback.
int WholeNumberOr(const QString &text, int fallback)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? value : fallback;
}

// A two-item choice stored as a number: 0 is the first item and every other value means the
// second, negative ones included.
void SelectStoredChoice(TRadioGroup *group, int value)
{
    group->SetItemIndex(value < 0 ? static_cast<int>(group->Items().size()) - 1 : value);
}

// Every tab at least a given width.
class TWideTabBar : public QTabBar {
public:
    TWideTabBar(int minimumWidth, QWidget *parent) : QTabBar(parent), FMinimumWidth(minimumWidth) {}

protected:
    QSize tabSizeHint(int index) const override
    {
        QSize size = QTabBar::tabSizeHint(index);
        size.setWidth(std::max(size.width(), FMinimumWidth));
        return size;
    }

private:
    int FMinimumWidth;
};

class TPageControl : public QTabWidget {
public:
    TPageControl(int tabWidth, QWidget *parent) : QTabWidget(parent)
    {
        auto *bar = new TWideTabBar(tabWidth, this);
        bar->setAttribute(Qt::WA_Hover);
        setTabBar(bar);
        // The window widens for long tab captions rather than scroll or cut them.
        setUsesScrollButtons(false);
        setElideMode(Qt::ElideNone);
    }
};

// Drawing of a window is off while this lives, and comes back with a full repaint however the
// scope ends.
class TRedrawSuspension {
public:
    explicit TRedrawSuspension(QWidget *window) : FWindow(window) { SetRedraw(window, true); }
    ~TRedrawSuspension() { SetRedraw(FWindow, false); }
    TRedrawSuspension(const TRedrawSuspension &) = delete;
    TRedrawSuspension &operator=(const TRedrawSuspension &) = delete;

private:
    QWidget *FWindow;
};

} // namespace

TForm_Opties::TForm_Opties(TSettingsModel &settings, QWidget *parent)
    : TToolDialog("Form_Opties", QSize(332, 480), parent), FSettings(settings), FEdited(settings.Record())
{
    FListening = settings.Listen([this](TSettingFields) {
        if (!isVisible())
            FEdited = FSettings.Record();
    });
    setWindowTitle("Opties");
    CreateControls();
    SizePictures();
    PlaceArrow();

    connect(BitBtn_OK, &QPushButton::clicked, this, &TForm_Opties::BitBtn_OKClick);
    connect(RadioGroup_Taal, &TRadioGroup::Click, this, &TForm_Opties::RadioGroup_TaalClick);
    connect(CheckBoxCaptions, &QCheckBox::toggled, this, &TForm_Opties::CheckBoxCaptionsClick);
    connect(RadioGroup_SystemTray, &TRadioGroup::Click, this, &TForm_Opties::RadioGroup_SystemTrayClick);
    connect(RadioGroup_Startup, &TRadioGroup::Click, this, &TForm_Opties::RadioGroup_StartupClick);
    connect(RadioGroup_MonthPosition, &TRadioGroup::Click, this,
            &TForm_Opties::RadioGroup_MonthPositionClick);
    connect(CheckBox_Weeknummers, &QCheckBox::toggled, this, &TForm_Opties::CheckBox_WeeknummersClick);
    connect(CheckBox_Vandaag, &QCheckBox::toggled, this, &TForm_Opties::CheckBox_VandaagClick);
    connect(CheckBox_ShowStatus, &QCheckBox::toggled, this, &TForm_Opties::CheckBox_ShowStatusClick);
    connect(kxFontComboBox1, &TkxFontComboBox::OnChange, this, &TForm_Opties::kxFontComboBox1Change);
    connect(ComboBoxFontSize, &QComboBox::currentTextChanged, this, &TForm_Opties::ComboBoxFontSizeChange);
    connect(TrackBarAlphaBlend, &QSlider::valueChanged, this, &TForm_Opties::TrackBarAlphaBlendChange);
    connect(SpeedButtonExampleCopy, &QToolButton::clicked, this, &TForm_Opties::SpeedButtonExampleCopyClick);
    connect(SpeedButtonExampleHint, &QToolButton::clicked, this, &TForm_Opties::SpeedButtonExampleHintClick);
}

void TForm_Opties::CreateControls()
{
    PageControl1 = new TPageControl(Scaled(100), this);
    PageControl1->setObjectName("PageControl1");
    // The pages join the control empty and are filled after: the control shows its first page at
    // once, which would polish every control on it long before the dialog is first shown.
    TabSheet_Algemeen = Named<QWidget>(nullptr, "TabSheet_Algemeen");
    TabSheet_Weergave = Named<QWidget>(nullptr, "TabSheet_Weergave");
    TabSheetDateFormat = Named<QWidget>(nullptr, "TabSheetDateFormat");
    PageControl1->addTab(TabSheet_Algemeen, "Algemeen");
    PageControl1->addTab(TabSheet_Weergave, "Weergave");
    PageControl1->addTab(TabSheetDateFormat, "Datum notatie");
    PageControl1->setCurrentIndex(0);
    CreateGeneralTab();
    CreateViewTab();
    CreateDateFormatTab();

    BitBtn_OK = NewOkButton();
    // Enter moves between the fields here, so OK is pressed only where it has the focus.
    BitBtn_OK->setDefault(false);

    // Holders of the preview pictures; never shown themselves.
    for (auto [holder, name] : {std::pair{&Image_Wg1, "Image_Wg1"},
                                {&Image_Wg2, "Image_Wg2"},
                                {&Image_Wg3, "Image_Wg3"},
                                {&Image_Wg4, "Image_Wg4"},
                                {&Image_TB1, "Image_TB1"},
                                {&Image_TB2, "Image_TB2"},
                                {&Image_TB3, "Image_TB3"},
                                {&Image_TB4, "Image_TB4"},
                                {&Image_Pos1, "Image_Pos1"},
                                {&Image_Pos2, "Image_Pos2"}}) {
        *holder = Named<QLabel>(this, name);
        (*holder)->hide();
    }

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(Scaled(5), Scaled(4), Scaled(6), Scaled(5));
    outer->setSpacing(Scaled(9));
    // Where the screen cannot hold every page whole, the pages scroll rather than the window
    // leave the screen.
    outer->addWidget(new TFitScrollArea(PageControl1, this), 1);
    outer->addWidget(BitBtn_OK, 0, Qt::AlignRight);
}

// The group's row: its controls at the left, an illustration at the right edge.
QHBoxLayout *TForm_Opties::GroupRow(QGroupBox *group)
{
    auto *row = qobject_cast<QHBoxLayout *>(group->layout());
    if (!row) {
        row = new QHBoxLayout(group);
    }
    row->setContentsMargins(Scaled(10), Scaled(4), Scaled(14), Scaled(6));
    row->setSpacing(Scaled(8));
    return row;
}

// The page's groups top to bottom, at least at their reference sizes; the layout gives more where
// the text needs it.
void TForm_Opties::StackGroups(QWidget *page, int spacing,
                               std::initializer_list<std::pair<QGroupBox *, QSize>> groups)
{
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(Scaled(6), Scaled(6), Scaled(6), Scaled(6));
    column->setSpacing(Scaled(spacing));
    for (auto [group, reference] : groups) {
        group->setMinimumSize(Scaled(reference.width()), Scaled(reference.height()));
        column->addWidget(group);
    }
    column->addStretch(1);
}

void TForm_Opties::CreateGeneralTab()
{
    QWidget *page = TabSheet_Algemeen;

    RadioGroup_Taal = NewRadioGroup(page, "RadioGroup_Taal", "Taal", {"Nederlands", "English"});
    Image2 = NewPicture(RadioGroup_Taal, "Image2");
    GroupRow(RadioGroup_Taal)->addWidget(Image2, 0, Qt::AlignTop);

    GroupBoxWerkbalk = Titled<QGroupBox>(page, "GroupBoxWerkbalk", "Werkbalk");
    CheckBoxCaptions = NewCheckBox(GroupBoxWerkbalk, "CheckBoxCaptions", "Titels op knoppen");
    Image_Toolbar = NewPicture(GroupBoxWerkbalk, "Image_Toolbar");
    QHBoxLayout *toolbarRow = GroupRow(GroupBoxWerkbalk);
    toolbarRow->addWidget(CheckBoxCaptions, 1, Qt::AlignTop);
    toolbarRow->addWidget(Image_Toolbar, 0, Qt::AlignTop);

    RadioGroup_SystemTray = NewRadioGroup(page, "RadioGroup_SystemTray", "Minimaliseren",
                                          {"In taakbalk (standaard)", "In systeemlade"});
    // The arrow stands over the task bar picture, on a borderless panel of their own.
    auto *taskBarPanel = Named<QWidget>(RadioGroup_SystemTray, "Panel_Systeemlade");
    Image4 = NewPicture(taskBarPanel, "Image4");
    Image_Pijl = NewPicture(taskBarPanel, "Image_Pijl");
    const QSize taskBar(Scaled(pictures::TaskBarSize.width()), Scaled(pictures::TaskBarSize.height()));
    taskBarPanel->setFixedSize(taskBar);
    Image4->setGeometry(QRect(QPoint(), taskBar));
    Image_Pijl->resize(Scaled(pictures::ArrowSize.width()), Scaled(pictures::ArrowSize.height()));
    Image_Pijl->raise();
    GroupRow(RadioGroup_SystemTray)->addWidget(taskBarPanel, 0, Qt::AlignTop);

    RadioGroup_Startup =
        NewRadioGroup(page, "RadioGroup_Startup", "Opstarten", {"Normaal (zichtbaar)", "Geminimaliseerd"});
    Image1 = NewPicture(RadioGroup_Startup, "Image1");
    GroupRow(RadioGroup_Startup)->addWidget(Image1, 0, Qt::AlignTop);

    RadioGroup_MonthPosition = NewRadioGroup(page, "RadioGroup_MonthPosition",
                                             "Positie huidige maand (bij opstarten)", {"Eerste", "Laatste"});
    ImagePosition = NewPicture(RadioGroup_MonthPosition, "ImagePosition");
    GroupRow(RadioGroup_MonthPosition)->addWidget(ImagePosition, 0, Qt::AlignTop);

    StackGroups(page, 6,
                {{RadioGroup_Taal, {300, 66}},
                 {GroupBoxWerkbalk, {300, 59}},
                 {RadioGroup_SystemTray, {300, 66}},
                 {RadioGroup_Startup, {300, 68}},
                 {RadioGroup_MonthPosition, {300, 63}}});
}

void TForm_Opties::CreateViewTab()
{
    QWidget *page = TabSheet_Weergave;

    GroupBox_Weergave = Titled<QGroupBox>(page, "GroupBox_Weergave", "Weergave");
    CheckBox_Weeknummers = NewCheckBox(GroupBox_Weergave, "CheckBox_Weeknummers", "Weeknummers tonen");
    CheckBox_Vandaag = NewCheckBox(GroupBox_Weergave, "CheckBox_Vandaag", "Vandaag omcirkelen");
    CheckBox_ShowStatus = NewCheckBox(GroupBox_Weergave, "CheckBox_ShowStatus", "Statusbalk tonen");
    Image_Weergave = NewPicture(GroupBox_Weergave, "Image_Weergave");
    auto *checks = new QVBoxLayout;
    checks->setSpacing(Scaled(4));
    for (QCheckBox *box : {CheckBox_Weeknummers, CheckBox_Vandaag, CheckBox_ShowStatus}) {
        checks->addWidget(box);
    }
    QHBoxLayout *viewRow = GroupRow(GroupBox_Weergave);
    viewRow->addLayout(checks, 1);
    viewRow->addWidget(Image_Weergave, 0, Qt::AlignTop);

    GroupBoxFont = Titled<QGroupBox>(page, "GroupBoxFont", "Lettertype");
    kxFontComboBox1 = Named<TkxFontComboBox>(GroupBoxFont, "kxFontComboBox1");
    kxFontComboBox1->SetFontTypes({ftTrueTypeAnsi});
    kxFontComboBox1->SetMoveUsedToTop(false);
    kxFontComboBox1->SetPreviewWidth(Scaled(240));
    kxFontComboBox1->SetPreviewHeight(Scaled(60));
    kxFontComboBox1->setMaxVisibleItems(12);
    kxFontComboBox1->setMinimumWidth(Scaled(200));
    ComboBoxFontSize = Named<QComboBox>(GroupBoxFont, "ComboBoxFontSize");
    ComboBoxFontSize->setEditable(true);
    ComboBoxFontSize->lineEdit()->setObjectName("ComboBoxFontSizeEdit"); // named for assistive technology
    ComboBoxFontSize->setInsertPolicy(QComboBox::NoInsert);
    ComboBoxFontSize->setCompleter(nullptr); // typing 1 gives 1, not the listed 10
    for (const char *size : FontSizes) {
        ComboBoxFontSize->addItem(size);
    }
    ComboBoxFontSize->setMinimumWidth(Scaled(73));
    LabelFontSize = NewLabel(GroupBoxFont, "LabelFontSize", "Lettergrootte");
    LabelFontSize->setBuddy(ComboBoxFontSize);
    LabelFontSize->hide();
    Image3 = NewPicture(GroupBoxFont, "Image3");
    auto *fontFields = new QVBoxLayout;
    fontFields->setSpacing(Scaled(8));
    fontFields->addWidget(kxFontComboBox1, 0, Qt::AlignLeft);
    fontFields->addWidget(ComboBoxFontSize, 0, Qt::AlignLeft);
    QHBoxLayout *fontRow = GroupRow(GroupBoxFont);
    fontRow->addLayout(fontFields, 1);
    fontRow->addWidget(Image3, 0, Qt::AlignTop);

    GroupBox_Kleuren = Titled<QGroupBox>(page, "GroupBox_Kleuren", "Kleuren");
    const auto newColor = [this](const char *picker, TkxColorPicker *&pickerMember, const char *label,
                                 QLabel *&labelMember, const char *text) {
        pickerMember = Named<TkxColorPicker>(GroupBox_Kleuren, picker);
        pickerMember->SetFlat(true);
        labelMember = NewLabel(GroupBox_Kleuren, label, text);
        labelMember->setMinimumWidth(Scaled(160));
        labelMember->setBuddy(pickerMember); // the picker is named by its caption
    };
    newColor("kxColorPickerAchtergrond", kxColorPickerAchtergrond, "Label_KleurAchtergrond",
             Label_KleurAchtergrond, "Achtergrond");
    newColor("kxColorPickerAchtergrondTitel", kxColorPickerAchtergrondTitel, "Label_KleurAchterTitel",
             Label_KleurAchterTitel, "Achtergrond titel");
    newColor("kxColorPickerTitel", kxColorPickerTitel, "Label_KleurTitel", Label_KleurTitel, "Titel");
    newColor("kxColorPickerDagenDezeMaand", kxColorPickerDagenDezeMaand, "Label_KleurDagen", Label_KleurDagen,
             "Dagen deze maand");
    newColor("kxColorPickerDagenAnderMaanden", kxColorPickerDagenAnderMaanden, "Label_KleurDagenAndere",
             Label_KleurDagenAndere, "Dagen andere maanden");
    Image6 = NewPicture(GroupBox_Kleuren, "Image6");
    auto *colors = new QGridLayout;
    colors->setHorizontalSpacing(Scaled(8));
    colors->setVerticalSpacing(Scaled(5));
    const std::pair<TkxColorPicker *, QLabel *> colorRows[] = {
        {kxColorPickerAchtergrond, Label_KleurAchtergrond},
        {kxColorPickerAchtergrondTitel, Label_KleurAchterTitel},
        {kxColorPickerTitel, Label_KleurTitel},
        {kxColorPickerDagenDezeMaand, Label_KleurDagen},
        {kxColorPickerDagenAnderMaanden, Label_KleurDagenAndere},
    };
    for (int row = 0; row < 5; ++row) {
        colorRows[row].first->setFixedSize(Scaled(42), Scaled(21));
        colors->addWidget(colorRows[row].first, row, 0);
        colors->addWidget(colorRows[row].second, row, 1);
    }
    colors->setColumnStretch(1, 1);
    QHBoxLayout *colorRow = GroupRow(GroupBox_Kleuren);
    colorRow->addLayout(colors, 1);
    colorRow->addWidget(Image6, 0, Qt::AlignTop);

    GroupBoxAlphaBlend = Titled<QGroupBox>(page, "GroupBoxAlphaBlend", "Alphablend");
    TrackBarAlphaBlend = Named<QSlider>(GroupBoxAlphaBlend, "TrackBarAlphaBlend");
    TrackBarAlphaBlend->setOrientation(Qt::Horizontal);
    TrackBarAlphaBlend->setRange(LowestAlphaBlend, HighestAlphaBlend);
    TrackBarAlphaBlend->setTickInterval(10);
    TrackBarAlphaBlend->setTickPosition(QSlider::TicksBelow);
    TrackBarAlphaBlend->setSingleStep(1);
    TrackBarAlphaBlend->setPageStep(10);
    TrackBarAlphaBlend->setValue(HighestAlphaBlend);
    TrackBarAlphaBlend->setMinimumWidth(Scaled(200));
    LabelAlphaBlend =
        NewLabel(GroupBoxAlphaBlend, "LabelAlphaBlend", QByteArray::number(HighestAlphaBlend).constData());
    LabelAlphaBlend->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto *alphaRow = new QHBoxLayout(GroupBoxAlphaBlend);
    alphaRow->setContentsMargins(Scaled(8), Scaled(2), Scaled(10), Scaled(4));
    alphaRow->setSpacing(Scaled(4));
    alphaRow->addWidget(TrackBarAlphaBlend, 1);
    alphaRow->addWidget(LabelAlphaBlend);

    StackGroups(page, 5,
                {{GroupBox_Weergave, {300, 91}},
                 {GroupBoxFont, {300, 81}},
                 {GroupBox_Kleuren, {300, 157}},
                 {GroupBoxAlphaBlend, {300, 50}}});
}

void TForm_Opties::CreateDateFormatTab()
{
    QWidget *page = TabSheetDateFormat;

    GroupBoxDateFormat = Titled<QGroupBox>(page, "GroupBoxDateFormat", "Datum notatie");
    QWidget *box = GroupBoxDateFormat;
    LabelCopyDate = NewLabel(box, "LabelCopyDate", "Datum kopiëren");
    EditCopyDate = Named<QLineEdit>(box, "EditCopyDate");
    SpeedButtonExampleCopy = NewExampleButton(box, "SpeedButtonExampleCopy");
    LabelHintSystemTray = NewLabel(box, "LabelHintSystemTray", "Hint systeemlade");
    EditHintSystemTray = Named<QLineEdit>(box, "EditHintSystemTray");
    SpeedButtonExampleHint = NewExampleButton(box, "SpeedButtonExampleHint");
    Image5 = NewPicture(box, "Image5");
    LabelCopyDate->setBuddy(EditCopyDate);
    LabelHintSystemTray->setBuddy(EditHintSystemTray);

    auto *patterns = new QGridLayout;
    patterns->setHorizontalSpacing(0);
    patterns->setVerticalSpacing(Scaled(4));
    patterns->setColumnMinimumWidth(0, Scaled(21)); // the fields stand indented under their labels
    patterns->setColumnStretch(1, 1);
    int row = 0;
    for (auto [label, edit, button] :
         {std::tuple{LabelCopyDate, EditCopyDate, SpeedButtonExampleCopy},
          std::tuple{LabelHintSystemTray, EditHintSystemTray, SpeedButtonExampleHint}}) {
        edit->setMinimumWidth(Scaled(180));
        if (row > 0) {
            patterns->setRowMinimumHeight(row++, Scaled(3));
        }
        patterns->addWidget(label, row++, 0, 1, 3);
        label->setBuddy(edit);
        patterns->addWidget(edit, row, 1);
        patterns->addWidget(button, row++, 2);
    }
    // Tab reaches the example buttons after both patterns, so Enter still goes from pattern to pattern.
    setTabOrder(EditCopyDate, EditHintSystemTray);
    setTabOrder(EditHintSystemTray, SpeedButtonExampleCopy);
    setTabOrder(SpeedButtonExampleCopy, SpeedButtonExampleHint);
    QHBoxLayout *dateRow = GroupRow(GroupBoxDateFormat);
    dateRow->setContentsMargins(Scaled(16), Scaled(4), Scaled(14), Scaled(10));
    dateRow->addLayout(patterns, 1);
    dateRow->addWidget(Image5, 0, Qt::AlignTop);

    GroupBoxInfoTags = Titled<QGroupBox>(page, "GroupBoxInfoTags", "Info beschikbare datum tags");
    MemoDateTagsNed = NewTagMemo(GroupBoxInfoTags, "MemoDateTagsNed", LanguageTexts(lnDutch).DateTags);
    MemoDateTagsEng = NewTagMemo(GroupBoxInfoTags, "MemoDateTagsEng", LanguageTexts(lnEnglish).DateTags);
    auto *memos = new QGridLayout(GroupBoxInfoTags);
    memos->setContentsMargins(Scaled(9), Scaled(4), Scaled(9), Scaled(9));
    memos->addWidget(MemoDateTagsNed, 0, 0); // one over the other; one is shown at a time
    memos->addWidget(MemoDateTagsEng, 0, 0);
    ShowTagMemo(false);

    StackGroups(page, 5, {{GroupBoxDateFormat, {300, 120}}, {GroupBoxInfoTags, {301, 209}}});
}

void TForm_Opties::ShowTagMemo(bool english)
{
    MemoDateTagsEng->setVisible(english);
    MemoDateTagsNed->setVisible(!english);
}

void TForm_Opties::ApplyLanguageTexts(TLanguage language)
{
    const TLanguageTexts &texts = LanguageTexts(language);
    const auto items = [](const char *const(&pair)[2]) {
        return QStringList{QString::fromUtf8(pair[0]), QString::fromUtf8(pair[1])};
    };
    // Rebuilding a group's items loses its selection.
    RadioGroup_SystemTray->SetItems(items(texts.RadioSystemTray));
    RadioGroup_Startup->SetItems(items(texts.RadioStartup));
    RadioGroup_MonthPosition->SetItems(items(texts.RadioMonthPosition));
    ShowStoredChoices();

    const TkxLanguage pickerLanguage = language == lnEnglish ? lgEnglish : lgNederlands;
    for (TkxColorPicker *picker : ColorPickers())
        picker->SetLanguage(pickerLanguage);
    ShowTagMemo(language == lnEnglish);
}

std::array<TkxColorPicker *, 5> TForm_Opties::ColorPickers() const
{
    return {kxColorPickerAchtergrond, kxColorPickerAchtergrondTitel, kxColorPickerTitel, kxColorPickerDagenDezeMaand,
            kxColorPickerDagenAnderMaanden};
}

void TForm_Opties::ShowStoredChoices()
{
    RadioGroup_SystemTray->SetItemIndex(FEdited.SysteemLade ? 1 : 0);
    RadioGroup_Startup->SetItemIndex(FEdited.GeminimaliseerdOpstarten ? 1 : 0);
    SelectStoredChoice(RadioGroup_MonthPosition, FEdited.PositieMaand);
}

// A font this system lacks is shown as the family that stands in for it in the month view; the
// setting keeps the stored name until the user picks another font.
void TForm_Opties::ShowStoredFont()
{
    const QString stored = QString::fromStdString(FEdited.Lettertype);
    kxFontComboBox1->SetFontName(stored);
    if (kxFontComboBox1->FontName().compare(stored, Qt::CaseInsensitive) != 0)
        kxFontComboBox1->SetFontName(DrawnFamily(stored));
}

void TForm_Opties::FormShow()
{
    qApp->installEventFilter(this);
    LoadControls();
    FitControls();
}

// Sizes that follow the window's font and screen as they are at this showing.
void TForm_Opties::FitControls()
{
    PaintPictures();
    BitBtn_OK->SetHotTrackFont(MakeKxFont(font(), clNavy, true));

    QFont listFont = font();
    listFont.setPixelSize(std::max(Scaled(12), QFontInfo(font()).pixelSize()));
    kxFontComboBox1->setFont(listFont);
    kxFontComboBox1->SetItemHeight(std::max(Scaled(16), QFontMetrics(listFont).height() + Scaled(2)));

    // The tag list is read whole, without scrolling.
    for (QPlainTextEdit *memo : {MemoDateTagsNed, MemoDateTagsEng}) {
        memo->setMinimumSize(QSize(Scaled(283), Scaled(183)).expandedTo(WholeTextSize(memo)));
    }
    for (QToolButton *button : {SpeedButtonExampleCopy, SpeedButtonExampleHint}) {
        button->setFixedSize(QSize(Scaled(23), Scaled(22)).expandedTo(button->minimumSizeHint()));
    }
    RefreshLayouts();
}

// Pages other than the current one are hidden, and their layouts do not take in new texts, sizes
// and fonts by themselves.
void TForm_Opties::RefreshLayouts()
{
    for (QWidget *widget : findChildren<QWidget *>()) {
        if (QLayout *layout = widget->layout()) {
            layout->invalidate();
            layout->activate();
        }
        widget->updateGeometry();
    }
}

// The pictures hold their places from the start, so the dialog lays out as it will show.
void TForm_Opties::SizePictures()
{
    const auto fix = [this](QLabel *label, QSize size) {
        label->setFixedSize(Scaled(size.width()), Scaled(size.height()));
    };
    for (QLabel *picture :
         {Image2, Image1, Image3, Image6, Image5, Image_Weergave, Image_Toolbar, ImagePosition}) {
        fix(picture, pictures::PictureSize);
    }
    fix(Image4, pictures::TaskBarSize);
    fix(Image_Pijl, pictures::ArrowSize);
}

// The pictures are drawn at the first showing, for the screen the dialog shows on, and again only
// when that screen's scale changes.
void TForm_Opties::PaintPictures()
{
    const qreal scale = logicalDpiY() / 96.0;
    const qreal ratio = devicePixelRatioF();
    if (scale == FPicturesScale && ratio == FPicturesRatio) {
        return;
    }
    FPicturesScale = scale;
    FPicturesRatio = ratio;
    SizePictures();
    const auto art = [&](QLabel *label, const char *path, QSize artSize) {
        label->setPixmap(pictures::ArtPicture(path, artSize, scale, ratio));
    };
    art(Image2, ":/art/options/language.svg", pictures::PictureSize);
    art(Image1, ":/art/options/startup.svg", pictures::PictureSize);
    art(Image3, ":/art/options/font.svg", pictures::PictureSize);
    art(Image6, ":/art/options/colors.svg", pictures::PictureSize);
    art(Image5, ":/art/options/dateformat.svg", pictures::PictureSize);
    art(Image4, ":/art/options/taskbar.svg", pictures::TaskBarSize);
    art(Image_Pijl, ":/art/options/arrow.svg", pictures::ArrowSize);
    BitBtn_OK->SetHotGlyph(pictures::ArtPicture(":/art/app/ok-hot.svg", QSize(16, 16), 1, 1));

    Image_Wg1->setPixmap(pictures::ViewPicture(false, false, scale, ratio));
    Image_Wg2->setPixmap(pictures::ViewPicture(false, true, scale, ratio));
    Image_Wg3->setPixmap(pictures::ViewPicture(true, false, scale, ratio));
    Image_Wg4->setPixmap(pictures::ViewPicture(true, true, scale, ratio));
    Image_TB1->setPixmap(pictures::ToolbarPicture(true, true, scale, ratio));
    Image_TB2->setPixmap(pictures::ToolbarPicture(false, true, scale, ratio));
    Image_TB3->setPixmap(pictures::ToolbarPicture(true, false, scale, ratio));
    Image_TB4->setPixmap(pictures::ToolbarPicture(false, false, scale, ratio));
    Image_Pos1->setPixmap(pictures::PositionPicture(false, scale, ratio));
    Image_Pos2->setPixmap(pictures::PositionPicture(true, scale, ratio));
    UpdateViewPicture();
    UpdateToolbarPicture();
    UpdatePositionPicture();
}

void TForm_Opties::LoadControls()
{
    FEdited = FSettings.Record();
    PlaceArrow();

    // The colours as the month view shows them.
    const bool dark = IsDarkPalette(QApplication::palette());
    for (std::size_t i = 0; i < std::size(ViewColors); ++i) {
        FShownColors[i] = ShownColor(FEdited, ViewColors[i], dark);
        ColorPickers()[i]->SetColor(FShownColors[i]);
    }

    ComboBoxFontSize->setEditText(QString::number(FEdited.Lettergrootte));
    ShowStoredFont();

    ShowStoredChoices();
    SelectStoredChoice(RadioGroup_Taal, FEdited.Taal);

    CheckBoxCaptions->setChecked(FEdited.TitelsKnoppen);
    CheckBox_Weeknummers->setChecked(FEdited.Weeknummers);
    CheckBox_Vandaag->setChecked(FEdited.Vandaag);
    CheckBox_ShowStatus->setChecked(FEdited.StatusTonen);

    ShowTagMemo(LanguageOf(FEdited) == lnEnglish);

    EditCopyDate->setText(QString::fromStdString(FEdited.KopieerDatumFormaat));
    EditHintSystemTray->setText(QString::fromStdString(FEdited.HintSysteemLadeFormaat));

    TrackBarAlphaBlend->setValue(std::clamp(FEdited.AlphaBlend, LowestAlphaBlend, HighestAlphaBlend));

    UpdateViewPicture();
    UpdatePositionPicture();
    UpdateToolbarPicture();
}

bool TForm_Opties::SaveSettings()
{
    // Colours left as shown keep what is stored, so colours never chosen go on following the
    // desktop's scheme; one colour changed makes the five shown the user's own.
    const auto pickers = ColorPickers();
    bool changed = false;
    for (std::size_t i = 0; i < pickers.size(); ++i) {
        changed = changed || pickers[i]->Color() != FShownColors[i];
    }
    for (std::size_t i = 0; changed && i < pickers.size(); ++i) {
        FEdited.*ViewColors[i].Field = pickers[i]->Color();
    }

    FEdited.KopieerDatumFormaat = EditCopyDate->text().toStdString();
    FEdited.HintSysteemLadeFormaat = EditHintSystemTray->text().toStdString();

    FEdited.AlphaBlend = TrackBarAlphaBlend->value();

    return FSettings.Commit(FEdited);
}

void TForm_Opties::BitBtn_OKClick()
{
    if (SaveSettings()) {
        accept();
        return;
    }
    // The dialog stays open, so the user can try again or close it and keep the settings for
    // this run.
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(),
                    LanguageTexts(LanguageOf(FEdited)).SaveFailed, QMessageBox::Ok, this);
    RunMessageBox(box);
}

void TForm_Opties::FormKeyPress(int key)
{
    FocusNextOnEnter(this, key);
}

bool TForm_Opties::eventFilter(QObject *watched, QEvent *event)
{
    // Key preview: a typed character reaches the dialog before the focused control. Only the
    // focused control's own delivery counts, not its way up through the parents.
    if (event->type() == QEvent::KeyPress && watched == QApplication::focusWidget()) {
        auto *widget = static_cast<QWidget *>(watched);
        const auto *key = static_cast<QKeyEvent *>(event);
        if (widget->window() == this && !key->text().isEmpty()) {
            const int character = key->text().at(0).unicode();
            // A push button takes Enter itself before the dialog sees it.
            if (!(character == EnterCharacter && qobject_cast<QPushButton *>(widget))) {
                FormKeyPress(character);
            }
        }
    }
    return TToolDialog::eventFilter(watched, event);
}

// Closed without OK: what the controls took at once stays for this run, unstored.
void TForm_Opties::done(int result)
{
    TToolDialog::done(result);
    if (result != QDialog::Accepted) {
        FSettings.Keep(FEdited);
    }
}

void TForm_Opties::hideEvent(QHideEvent *event)
{
    if (!event->spontaneous()) {
        qApp->removeEventFilter(this);
    }
    TToolDialog::hideEvent(event);
}

void TForm_Opties::keyPressEvent(QKeyEvent *event)
{
    // Enter has moved the focus on, and there is no cancel button: neither closes the dialog.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    TToolDialog::keyPressEvent(event);
}

void TForm_Opties::RadioGroup_TaalClick()
{
    const int index = RadioGroup_Taal->ItemIndex();
    if (index < 0) {
        return;
    }
    {
        const TRedrawSuspension suspension(this);
        FEdited.Taal = index;
        emit LanguageChanged(LanguageOf(FEdited));
    }
    GrowToFit();
}

// Texts of the new language may need more room than the window was given at its showing.
void TForm_Opties::GrowToFit()
{
    if (!isVisible()) {
        return;
    }
    RefreshLayouts();
    layout()->invalidate();
    if (size().expandedTo(sizeHint()) != size()) {
        FitAndCentre();
    }
}

void TForm_Opties::CheckBoxCaptionsClick()
{
    FEdited.TitelsKnoppen = CheckBoxCaptions->isChecked();
    UpdateToolbarPicture();
}

void TForm_Opties::RadioGroup_SystemTrayClick()
{
    FEdited.SysteemLade = RadioGroup_SystemTray->ItemIndex() == 1;
    PlaceArrow();
}

void TForm_Opties::RadioGroup_StartupClick()
{
    FEdited.GeminimaliseerdOpstarten = RadioGroup_Startup->ItemIndex() == 1;
}

void TForm_Opties::RadioGroup_MonthPositionClick()
{
    FEdited.PositieMaand = RadioGroup_MonthPosition->ItemIndex();
    UpdatePositionPicture();
}

void TForm_Opties::CheckBox_WeeknummersClick()
{
    FEdited.Weeknummers = CheckBox_Weeknummers->isChecked();
    UpdateViewPicture();
}

void TForm_Opties::CheckBox_VandaagClick()
{
    FEdited.Vandaag = CheckBox_Vandaag->isChecked();
    UpdateViewPicture();
}

void TForm_Opties::CheckBox_ShowStatusClick()
{
    FEdited.StatusTonen = CheckBox_ShowStatus->isChecked();
}

void TForm_Opties::kxFontComboBox1Change()
{
    FEdited.Lettertype = kxFontComboBox1->FontName().toStdString();
}

void TForm_Opties::ComboBoxFontSizeChange()
{
    FEdited.Lettergrootte = WholeNumberOr(ComboBoxFontSize->currentText(), settingsdefaults::FontSize);
}

void TForm_Opties::TrackBarAlphaBlendChange()
{
    LabelAlphaBlend->setText(QString::number(TrackBarAlphaBlend->value()));
}

void TForm_Opties::SpeedButtonExampleCopyClick()
{
    ShowExample(FEdited.KopieerDatumFormaat);
}

void TForm_Opties::SpeedButtonExampleHintClick()
{
    ShowExample(FEdited.HintSysteemLadeFormaat);
}

// Today's date through the confirmed pattern; a pattern being edited counts only after OK.
void TForm_Opties::ShowExample(const std::string &pattern)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(),
                    QString::fromStdString(ExpandDateTags(pattern, Today())), QMessageBox::Ok, this);
    RunMessageBox(box);
}

void TForm_Opties::UpdateViewPicture()
{
    QLabel *holder = FEdited.Weeknummers ? (FEdited.Vandaag ? Image_Wg4 : Image_Wg3)
                                         : (FEdited.Vandaag ? Image_Wg2 : Image_Wg1);
    Image_Weergave->setPixmap(holder->pixmap());
}

void TForm_Opties::UpdateToolbarPicture()
{
    QLabel *holder = FEdited.PictogrammenOplichten ? (FEdited.TitelsKnoppen ? Image_TB1 : Image_TB3)
                                                   : (FEdited.TitelsKnoppen ? Image_TB2 : Image_TB4);
    Image_Toolbar->setPixmap(holder->pixmap());
}

void TForm_Opties::UpdatePositionPicture()
{
    ImagePosition->setPixmap((FEdited.PositieMaand == 0 ? Image_Pos1 : Image_Pos2)->pixmap());
}

void TForm_Opties::PlaceArrow()
{
    const int left = FEdited.SysteemLade ? pictures::ArrowLeftAtTray : pictures::ArrowLeftAtTaskBar;
    Image_Pijl->move(Scaled(left), Scaled(pictures::ArrowTop));
}
