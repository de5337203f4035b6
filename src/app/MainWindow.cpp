#include "app/MainWindow.h"

#include "app/DateActions.h"
#include "app/FramePlacement.h"
#include "app/SettingsNotice.h"
#include "components/MonthCalendar.h"
#include "components/kxAccessible.h"
#include "components/kxExtendedDialogs.h"
#include "date/DateFormat.h"
#include "dialogs/About.h"
#include "dialogs/DatumInfo.h"
#include "dialogs/GaNaar.h"
#include "dialogs/LanguageTables.h"
#include "dialogs/Opties.h"
#include "locale/SystemLocale.h"
#include "platform/Colors.h"
#include "platform/FontFamily.h"
#include "platform/JpegSave.h"
#include "platform/QtTranslations.h"
#include "platform/Screen.h"
#include "platform/SvgIcon.h"
#include "platform/Tray.h"
#include "platform/WindowSystem.h"
#include "settings/Settings.h"
#include "settings/SettingsDefaults.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <algorithm>

namespace {

constexpr int StatusPanelWidths[3] = {80, 80, 76};
constexpr int CaptionButtonSize = 70;
constexpr int PlainButtonSize = 30;
constexpr int JpegQuality = 100;

// Read when first drawn: menu and tray pictures cost nothing until they show.
QIcon Art(const char *name)
{
    return SvgIcon(QStringLiteral(":/art/app/%1.svg").arg(QLatin1String(name)));
}

// A hand-edited size beyond the largest a font is drawn at is drawn at that largest size; a
// size below 1 falls back to the default size.
QFont MonthViewFont(const TRecRec &settings)
{
    using namespace settingsdefaults;
    QFont font(DrawnFamily(QString::fromStdString(settings.Lettertype)));
    font.setPointSize(settings.Lettergrootte < MinFontSize ? FontSize
                                                           : std::min(settings.Lettergrootte, MaxFontSize));
    return font;
}

QString ToQ(const std::string &text)
{
    return QString::fromStdString(text);
}

// A status bar panel of a given width, wider where its text needs it (a larger desktop font); the
// last one gives way when the window is narrower.
class TStatusPanel : public QLabel {
public:
    TStatusPanel(int width, bool canShrink, QWidget *parent) : QLabel(parent), FWidth(width), FCanShrink(canShrink)
    {
        setAlignment(Qt::AlignCenter);
        setSizePolicy(canShrink ? QSizePolicy::Maximum : QSizePolicy::Fixed, QSizePolicy::Preferred);
    }
    QSize sizeHint() const override
    {
        const QSize text = QLabel::sizeHint();
        return {std::max(FWidth, text.width()), text.height()};
    }
    QSize minimumSizeHint() const override
    {
        return {FCanShrink ? 0 : sizeHint().width(), QLabel::minimumSizeHint().height()};
    }

private:
    int FWidth;
    bool FCanShrink;
};

// A toolbar button that Enter activates as Space does, as users of the keyboard expect.
class TToolBarButton : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
            return QToolButton::keyPressEvent(event);
        if (!event->isAutoRepeat())
            animateClick();
    }
};

// Menu captions are shown as written: an "&" is not an accelerator.
QString EscapeAccelerators(QString text)
{
    return text.replace('&', QLatin1String("&&"));
}

} // namespace

TForm_Orvani::TForm_Orvani(TSettingsModel &settings, QWidget *parent)
    : QMainWindow(parent), FSettings(settings)
{
    setObjectName(WindowNames::Main);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowIcon(Art("orvani"));
    setAutoFillBackground(true);

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TForm_Orvani::Timer1Timer);

    MonthCalendar1 = new TMonthCalendar(this);
    MonthCalendar1->setObjectName("MonthCalendar1");
    setCentralWidget(MonthCalendar1);
    connect(MonthCalendar1, &TMonthCalendar::OnClick, this, &TForm_Orvani::MonthCalendar1Click);

    CreateToolBar();
    CreateMenus();
    CreateStatusBar();

    JvTrayIcon1 = new TTrayIcon(this);
    JvTrayIcon1->setObjectName("JvTrayIcon1");
    JvTrayIcon1->SetIcon(Art("orvani"));
    JvTrayIcon1->SetPopupMenu(PopupMenu_SystemTray);
    connect(JvTrayIcon1, &TTrayIcon::OnDblClick, this, &TForm_Orvani::Menu_ST_OpenClick);

    kxExtSaveDialog1 = new TkxExtSaveDialog(this);
    kxExtSaveDialog1->setObjectName("kxExtSaveDialog1");
    kxExtSaveDialog1->SetFilter("JPG - JPEG|*.JPG;*.JPEG|*.*|*.*");
    kxExtSaveDialog1->SetDefaultExt("JPG");
    kxExtSaveDialog1->SetShowPlacesBar(false);

    qApp->installEventFilter(this);

    // FormCreate.
    ReadSettings();
    const TRecRec &rec = FSettings.Record();
    FPlacement = new TFramePlacement(this, {rec.Links, rec.Boven, rec.Breedte, rec.Hoogte});
    FPlacement->PlaceAtStart();
    // The month view has its font before the window is first laid out, so it measures its text once.
    MonthCalendar1->setFont(MonthViewFont(rec));
    if (rec.OpVoorgrond)
        ApplyStayOnTop();
    FListening = FSettings.Listen([this](TSettingFields changed) { SettingsChanged(changed); });
    setWindowTitle("Orvani");
    QApplication::setApplicationName("Orvani");
    ReportSessionLimits();
    if (rec.GeminimaliseerdOpstarten)
        StartMinimized(rec.SysteemLade);
}

void TForm_Orvani::StartMinimized(bool toTray)
{
    // Without a notification area a window hidden in the tray could never come back:
    // it starts minimised to the task bar instead.
    if (toTray && TTrayIcon::IsAvailable()) {
        JvTrayIcon1->SetActive(true);
        FShowMainForm = false;
    } else {
        FStartMinimized = true;
    }
}

bool TForm_Orvani::BringBack()
{
    Menu_ST_OpenClick();
    // A dialog open on the window stays in front of it.
    if (QWidget *dialog = QApplication::activeModalWidget()) {
        dialog->raise();
        dialog->activateWindow();
    }
    return isVisible() && !isMinimized();
}

void TForm_Orvani::CreateToolBar()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
    ToolBar1->setIconSize(QSize(24, 24));
    ToolBar1->setStyleSheet("QToolBar { border: none; spacing: 0px; padding: 0px; }");
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    auto addButton = [this](const char *name, const char *image, void (TForm_Orvani::*handler)()) {
        auto *button = new TToolBarButton(ToolBar1);
        button->setObjectName(name);
        button->setIcon(Art(image));
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::TabFocus); // reached with Tab, not taken by a click
        connect(button, &QToolButton::clicked, this, handler);
        ToolBar1->addWidget(button);
        return button;
    };
    ToolButton_GaNaar = addButton("ToolButton_GaNaar", "goto", &TForm_Orvani::ToolButton_GaNaarClick);
    ToolButton_DateInfo =
        addButton("ToolButton_DateInfo", "dateinfo", &TForm_Orvani::ToolButton_DateInfoClick);
    ToolButton_StayOnTop =
        addButton("ToolButton_StayOnTop", "stayontop", &TForm_Orvani::ToolButton_StayOnTopClick);
    ToolButton_StayOnTop->setCheckable(true);
    ToolButton_Voorkeuren =
        addButton("ToolButton_Voorkeuren", "options", &TForm_Orvani::ToolButton_VoorkeurenClick);
    ToolButton_Info = addButton("ToolButton_Info", "info", &TForm_Orvani::ToolButton_InfoClick);
    ToolButton_Afsluiten =
        addButton("ToolButton_Afsluiten", "exit", &TForm_Orvani::ToolButton_AfsluitenClick);
}

void TForm_Orvani::CreateMenus()
{
    auto addItem = [this](QMenu *menu, const char *name, const char *image, void (TForm_Orvani::*handler)()) {
        QAction *action = menu->addAction(QString());
        action->setObjectName(name);
        if (image)
            action->setIcon(Art(image));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };

    PopupMenu_SystemTray = new QMenu(this);
    PopupMenu_SystemTray->setObjectName("PopupMenu_SystemTray");
    Menu_ST_Open = addItem(PopupMenu_SystemTray, "Menu_ST_Open", "open", &TForm_Orvani::Menu_ST_OpenClick);
    PopupMenu_SystemTray->addSeparator();
    Menu_ST_Info = addItem(PopupMenu_SystemTray, "Menu_ST_Info", "info", &TForm_Orvani::ToolButton_InfoClick);
    PopupMenu_SystemTray->addSeparator();
    Menu_ST_Exit = addItem(PopupMenu_SystemTray, "Menu_ST_Exit", "exit", &TForm_Orvani::Menu_ST_ExitClick);
    connect(PopupMenu_SystemTray, &QMenu::aboutToShow, this, &TForm_Orvani::PopupMenu_SystemTrayPopup);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    Ganaarvandaag1 = addItem(PopupMenu1, "Ganaarvandaag1", "today", &TForm_Orvani::Ganaarvandaag1Click);
    Ganaar1 = addItem(PopupMenu1, "Ganaar1", "goto", &TForm_Orvani::ToolButton_GaNaarClick);
    PopupMenu1->addSeparator();
    DateInfo1 = addItem(PopupMenu1, "DateInfo1", "dateinfo", &TForm_Orvani::ToolButton_DateInfoClick);
    PopupMenu1->addSeparator();
    Kopieren1 = PopupMenu1->addMenu(Art("copy"), QString());
    Kopieren1->setObjectName("Kopieren1");
    for (int i = 0; i < CopyDateCount; ++i) {
        if (i == CopyDateCount - 1)
            Kopieren1->addSeparator();
        CopyDate[i] = addItem(Kopieren1, "", nullptr, &TForm_Orvani::CopyDate1Click);
        CopyDate[i]->setObjectName(QStringLiteral("CopyDate%1").arg(i + 1));
    }
    OpslaanalsJPG1 = addItem(PopupMenu1, "OpslaanalsJPG1", "savejpg", &TForm_Orvani::OpslaanalsJPG1Click);
    PopupMenu1->addSeparator();
    Opties2 = addItem(PopupMenu1, "Opties2", "options", &TForm_Orvani::ToolButton_VoorkeurenClick);
    MonthCalendar1->SetPopupMenu(PopupMenu1);
}

void TForm_Orvani::CreateStatusBar()
{
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(true);
    for (int i = 0; i < 3; ++i) {
        auto *panel = new TStatusPanel(StatusPanelWidths[i], i == 2, StatusBar1);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        StatusBar1->addWidget(panel);
        FStatusPanels[i] = panel;
    }
    SetQuietName(FStatusPanels[1]); // the clock: a reader following the status bar would speak every second
    setStatusBar(StatusBar1);
}

void TForm_Orvani::AttachDialogs(TForm_GaNaar *gaNaar, TForm_Opties *opties, TForm_DatumInfo *datumInfo,
                                 TAboutBox *aboutBox)
{
    FGaNaar = gaNaar;
    FOpties = opties;
    FDatumInfo = datumInfo;
    FAboutBox = aboutBox;
    connect(FOpties, &TForm_Opties::LanguageChanged, this,
            qOverload<TLanguage>(&TForm_Orvani::ApplyLanguage));
}

void TForm_Orvani::SetDialogMaker(std::function<void()> make)
{
    FDialogMaker = std::move(make);
}

void TForm_Orvani::EnsureDialogs()
{
    if (const std::function<void()> make = std::exchange(FDialogMaker, nullptr)) {
        make();
        ApplyLanguage(); // their texts in the interface language
    }
}

// The desktop's theme changed (dark at sunset): the application hears of it, and colours never
// chosen follow.
bool TForm_Orvani::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange)
        ApplyColors();
    return QMainWindow::eventFilter(watched, event);
}

bool TForm_Orvani::event(QEvent *event)
{

    // The dialogs wait until the first frame is drawn; whatever needs one sooner makes them then.
    if (event->type() == QEvent::Paint && FDialogMaker)
        QMetaObject::invokeMethod(this, &TForm_Orvani::EnsureDialogs, Qt::QueuedConnection);
    return QMainWindow::event(event);
}

void TForm_Orvani::ShowAtStart()
{
    QTimer::singleShot(0, this, [this] { ShowSettingsNotice(this, FSettings); });
    if (!FShowMainForm)
        return;
    if (FStartMinimized) {
        // The window exists with its size before it is minimised: Qt 6.4 on X11 maps a minimised
        // window as a normal one when it still has a geometry to pass on.
        create();
        setWindowState(Qt::WindowMinimized);
        StartIconic(windowHandle());
        show();
    } else {
        show();
    }
}

void TForm_Orvani::ReadSettings()
{
    try {
        const TScreenMetrics screen = PrimaryScreenMetrics();
        FSettings.Read(screen.Dpi, screen.Width, screen.Height, SystemLocaleLcid());
    } catch (...) {
        // Start-up goes on with what was read.
    }
}

void TForm_Orvani::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    ShowFirstTime();
}

// The show sequence runs when the window first becomes really visible: at a normal start, or at
// the first restore after a start minimised or hidden in the tray.
void TForm_Orvani::ShowFirstTime()
{
    if (FShown || !isVisible() || isMinimized())
        return;
    FShown = true;
    FPlacement->Shown();
    FormShow();
}

// The window is placed together with its size: the month view needs its size before it is
// positioned.
void TForm_Orvani::FormShow()
{
    ApplySettings();
    FPlacement->PlaceAtFirstShow();
    ApplyLanguage();
    PositionMonthView();
    MonthCalendar1Click();
    Timer1Timer();
    FPlacement->SettleFirstShow();
}

// What Options committed or kept: only the changed fields are applied.
void TForm_Orvani::SettingsChanged(TSettingFields changed)
{
    using enum TSettingField;
    if (changed.Has(OpVoorgrond))
        ApplyStayOnTop();
    if (changed.Has(Taal))
        ApplyLanguage();
    ApplySettings(changed);
    MonthCalendar1Click(); // the selected date's texts: captions, hint and status bar anew
}

void TForm_Orvani::ApplySettings(TSettingFields changed)
{
    using enum TSettingField;
    const TRecRec &rec = FSettings.Record();
    const TSettingFields colors = {KleurAchtergrond, KleurAchtergrondTitel, KleurTitel, KleurDagenDezeMaand,
                                   KleurDagenAndereMaand};
    if (changed.HasAny(colors))
        ApplyColors();
    if (changed.Has(Weeknummers))
        MonthCalendar1->SetWeekNumbers(rec.Weeknummers);
    if (changed.Has(Vandaag))
        MonthCalendar1->SetTodayCircle(rec.Vandaag);
    if (changed.HasAny({Lettertype, Lettergrootte}))
        MonthCalendar1->setFont(MonthViewFont(rec));

    if (changed.Has(StatusTonen)) {
        StatusBar1->setVisible(rec.StatusTonen);
        if (rec.StatusTonen)
            Timer1->start();
        else
            Timer1->stop();
    }

    // A hand-edited value below the slider's lowest is applied as that lowest value, so no
    // stored value can make the window invisible.
    if (changed.Has(AlphaBlend)) {
        using namespace settingsdefaults;
        if (rec.AlphaBlend >= HighestAlphaBlend)
            setWindowOpacity(1.0);
        else
            setWindowOpacity(std::max(rec.AlphaBlend, LowestAlphaBlend) / 255.0);
    }

    if (changed.Has(TitelsKnoppen)) {
        const bool captions = rec.TitelsKnoppen;
        const int buttonSize = captions ? CaptionButtonSize : PlainButtonSize;
        for (QToolButton *button : {ToolButton_GaNaar, ToolButton_DateInfo, ToolButton_StayOnTop,
                                    ToolButton_Voorkeuren, ToolButton_Info, ToolButton_Afsluiten}) {
            button->setToolButtonStyle(captions ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
            button->setFixedSize(buttonSize, buttonSize);
        }
    }
    if (changed.HasAny(colors) || changed.HasAny({Weeknummers, Vandaag, Lettertype, Lettergrootte,
                                                  StatusTonen, AlphaBlend, TitelsKnoppen}))
        FitContent();
}

// The colours shown: the user's, and where the user never chose, those of the desktop's light or
// dark scheme. The window's background and the text on it (toolbar captions, status bar, the
// month view's surround and today line) are one pair, never the desktop's text on the program's
// background. Made when the settings or the desktop's palette change, never while painting.
void TForm_Orvani::ApplyColors()
{
    const bool dark = IsDarkPalette(QApplication::palette());
    const TRecRec &rec = FSettings.Record();
    const auto shown = [&rec, dark](const TViewColor &color) {
        return ToQColor(ShownColor(rec, color, dark));
    };
    const QColor background = shown(ViewColors[0]);
    const QColor text = shown(ViewColors[3]);
    QPalette colors = QApplication::palette(this);
    for (const QPalette::ColorRole role : {QPalette::Window, QPalette::Button, QPalette::Base})
        colors.setColor(role, background);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        colors.setColor(role, text);
    setPalette(colors);

    MonthCalendar1->SetColor(TMonthCalendarColor::Background, background);
    MonthCalendar1->SetColor(TMonthCalendarColor::MonthBackground, background);
    MonthCalendar1->SetColor(TMonthCalendarColor::TitleBackground, shown(ViewColors[1]));
    MonthCalendar1->SetColor(TMonthCalendarColor::TitleText, shown(ViewColors[2]));
    MonthCalendar1->SetColor(TMonthCalendarColor::Text, text);
    MonthCalendar1->SetColor(TMonthCalendarColor::TrailingText, shown(ViewColors[4]));
}

// The window is at least as wide as the whole toolbar (never a chevron hiding buttons) and as
// large as its content needs, and otherwise keeps the user's size: it shrinks back to that size
// when the need goes.
void TForm_Orvani::FitContent()
{
    ToolBar1->setMinimumWidth(ToolBar1->layout()->sizeHint().width());
    layout()->activate();
    if (FPlacement->UserSize().isValid())
        resize(FPlacement->UserSize());
}

// Every text of every window: the windows' rows in the order of the tables, each dialog's
// texts beyond its rows, the main window's own, and last the application title.
void TForm_Orvani::ApplyLanguage()
{
    ApplyLanguage(LanguageOf(FSettings));
}

void TForm_Orvani::ApplyLanguage(TLanguage language)
{
    FLanguage = language;
    ApplyWindowRows(this, language);
    for (TToolDialog *dialog :
         std::initializer_list<TToolDialog *>{FGaNaar, FOpties, FAboutBox, FDatumInfo}) {
        if (dialog) {
            ApplyWindowRows(dialog, language);
            dialog->SetLanguage(language);
        }
    }
    if (FOpties)
        FOpties->ApplyLanguageTexts(language);
    if (FDatumInfo)
        FDatumInfo->ApplyLanguageTexts(language);
    ApplyQtTranslations(language == lnDutch ? "nl" : "en");

    const TLanguageTexts &texts = LanguageTexts(language);
    // Once the window has been shown the tooltip carries the selected date.
    if (!FShown)
        JvTrayIcon1->SetHint(QString::fromUtf8(texts.TrayHint));
    MonthCalendar1->SetTodayLabel(QString::fromUtf8(texts.TodayLabel));
    const TMonthViewAccessibleTexts &heard = MonthViewAccessibleTexts(language);
    MonthCalendar1->SetAccessibleTexts({QString::fromUtf8(heard.Week), QString::fromUtf8(heard.Today),
                                        QString::fromUtf8(heard.OtherMonth), QString::fromUtf8(heard.Previous),
                                        QString::fromUtf8(heard.Next)});
    QApplication::setApplicationName("Orvani");
}

void TForm_Orvani::PositionMonthView()
{
    const TDateTime today = Today();
    MonthCalendar1->SetDate(FSettings.Record().PositieMaand != 0 ? AddDays(today, -256)
                                                                 : AddMonths(today, 12));
    MonthCalendar1->SetDate(today);
}

void TForm_Orvani::MonthCalendar1Click()
{
    const TDateTime date = MonthCalendar1->Date();
    const TFormatSettings &settings = ProgramFormatSettings();
    StatusPanel(0)->setText(ToQ(FormatDateStandard(settings.ShortDateFormat, date)));
    MonthCalendar1->setToolTip(ToQ(FormatDateStandard(settings.LongDateFormat, date)));
    SetCopyCaptions(date);
    JvTrayIcon1->SetHint("Orvani - " + ToQ(ExpandDateTags(FSettings.Record().HintSysteemLadeFormaat, date)));
}

void TForm_Orvani::SetCopyCaptions(TDateTime date)
{
    const auto captions =
        CopyDateCaptions(date, FSettings.Record().KopieerDatumFormaat, ProgramFormatSettings());
    for (int i = 0; i < CopyDateCount; ++i) {
        const QString caption = ToQ(captions[i]);
        CopyDate[i]->setData(caption);
        CopyDate[i]->setText(EscapeAccelerators(caption));
    }
}

QString TForm_Orvani::CopyText(const QAction *copyItem)
{
    return copyItem->data().toString();
}

void TForm_Orvani::CopyDate1Click()
{
    if (const auto *item = qobject_cast<const QAction *>(sender()))
        QApplication::clipboard()->setText(CopyText(item));
}

void TForm_Orvani::OpslaanalsJPG1Click()
{
    kxExtSaveDialog1->SetTitle(OpslaanalsJPG1->text());
    if (!kxExtSaveDialog1->Execute())
        return;
    SaveControlAsJpeg(MonthCalendar1, kxExtSaveDialog1->FileName(), JpegQuality);
}

void TForm_Orvani::Timer1Timer()
{
    StatusPanel(1)->setText(ToQ(FormatDateStandard("hh:mm:ss", Now())));
}

void TForm_Orvani::ToolButton_GaNaarClick()
{
    EnsureDialogs();
    if (!FGaNaar)
        return;
    FGaNaar->CurrentDate = MonthCalendar1->Date();
    FGaNaar->exec();
    MonthCalendar1Click();
}

void TForm_Orvani::ToolButton_DateInfoClick()
{
    EnsureDialogs();
    if (!FDatumInfo)
        return;
    FDatumInfo->CurrentDate = MonthCalendar1->Date();
    FDatumInfo->exec();
}

void TForm_Orvani::ToolButton_StayOnTopClick()
{
    FSettings.ToggleStayOnTop();
}

void TForm_Orvani::ApplyStayOnTop()
{
    ToolButton_StayOnTop->setChecked(FSettings.Record().OpVoorgrond);
    SetStayOnTop(FSettings.Record().OpVoorgrond);
}

// Changing the flag of a visible window through its platform window keeps it in place; the
// widget route would hide and re-show it.
void TForm_Orvani::SetStayOnTop(bool onTop)
{
    const Qt::WindowFlags flags =
        onTop ? windowFlags() | Qt::WindowStaysOnTopHint : windowFlags() & ~Qt::WindowStaysOnTopHint;
    if (windowHandle()) {
        overrideWindowFlags(flags);
        windowHandle()->setFlags(flags);
    } else {
        setWindowFlags(flags);
    }
}

void TForm_Orvani::ToolButton_VoorkeurenClick()
{
    EnsureDialogs();
    if (!FOpties)
        return;
    FOpties->exec(); // what it commits or keeps reaches the window through SettingsChanged
}

void TForm_Orvani::ToolButton_InfoClick()
{
    EnsureDialogs();
    if (FAboutBox)
        FAboutBox->exec();
}

void TForm_Orvani::ToolButton_AfsluitenClick()
{
    close();
}

void TForm_Orvani::Menu_ST_ExitClick()
{
    close();
}

void TForm_Orvani::Menu_ST_OpenClick()
{
    showNormal();
    raise();
    activateWindow();
    Timer1->start();
    JvTrayIcon1->SetActive(false);
}

void TForm_Orvani::PopupMenu_SystemTrayPopup()
{
    ApplyLanguage(FLanguage.value_or(LanguageOf(FSettings)));
}

void TForm_Orvani::Ganaarvandaag1Click()
{
    MonthCalendar1->SetDate(Today());
    MonthCalendar1Click();
}

void TForm_Orvani::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    const bool wasMinimized = static_cast<QWindowStateChangeEvent *>(event)->oldState() & Qt::WindowMinimized;
    if (isMinimized() && !wasMinimized)
        AppMinimize();
    else if (!isMinimized() && wasMinimized)
        AppRestore();
}

void TForm_Orvani::AppMinimize()
{
    // Where the desktop has no notification area the window stays on the task bar: hidden
    // without a tray icon it could never be brought back.
    if (FSettings.Record().SysteemLade && TTrayIcon::IsAvailable()) {
        hide();
        JvTrayIcon1->SetActive(true);
    }
    Timer1->stop();
}

void TForm_Orvani::AppRestore()
{
    Timer1->start();
    ShowFirstTime();
}

void TForm_Orvani::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
    JvTrayIcon1->SetActive(false);
    QApplication::quit();
}

// Stores the placement: the frame's top left and the user's size of the client area (not a size
// the content needed for a while). A failed write never keeps the program from ending.
void TForm_Orvani::FormClose()
{
    if (FClosed)
        return;
    FClosed = true;
    const TPlacement place = FPlacement->ToStore();
    FSettings.StorePlacement(place.Top, place.Left, place.Width, place.Height,
                             ToolButton_StayOnTop->isChecked());
}
