#pragma once
// The main window: toolbar, month view and status bar with a clock; the tray icon; the
// window's life cycle (start-up, show, minimise to the task bar or the tray, close).

#include "date/DateCore.h"
#include "dialogs/LanguageTables.h"
#include "settings/SettingsModel.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <optional>
#include <utility>

class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class QTimer;
class QToolBar;
class QToolButton;
class TAboutBox;
class TFramePlacement;
class TForm_DatumInfo;
class TForm_GaNaar;
class TForm_Opties;
class TMonthCalendar;
class TTrayIcon;
class TkxExtSaveDialog;

class TForm_Orvani : public QMainWindow {
    Q_OBJECT
public:
    // Creating the window reads the settings (FormCreate); it touches no dialog. It follows the
    // settings' changes from then on.
    explicit TForm_Orvani(TSettingsModel &settings, QWidget *parent = nullptr);

    // The dialogs, created after the main window, each once for the program's life.
    void AttachDialogs(TForm_GaNaar *gaNaar, TForm_Opties *opties, TForm_DatumInfo *datumInfo,
                       TAboutBox *aboutBox);
    // The dialogs are made by this, which attaches them, once the window has shown its first
    // frame, or at once when something needs one before that.
    void SetDialogMaker(std::function<void()> make);

    // Shows the window as the settings ask: normally, minimised, or not at all (in the tray).
    void ShowAtStart();
    // Before ShowAtStart: start minimised, to the tray or the task bar, whatever the settings say.
    void StartMinimized(bool toTray);
    // Another start of the program asks for the window: brought back as "Open" in the tray menu
    // does. Says whether the window is now shown.
    bool BringBack();

    // The month view, status bar, opacity and toolbar as the changed fields ask.
    void ApplySettings(TSettingFields changed = TSettingFields::All());
    // Every window's texts in the settings' language, or in one being chosen in Options.
    void ApplyLanguage();
    void ApplyLanguage(TLanguage language);

    QLabel *StatusPanel(int index) const { return FStatusPanels.at(index); }
    // The clipboard text of a copy item: its caption as shown, without accelerator escaping.
    static QString CopyText(const QAction *copyItem);

    QToolBar *ToolBar1;
    QToolButton *ToolButton_GaNaar;
    QToolButton *ToolButton_DateInfo;
    QToolButton *ToolButton_StayOnTop;
    QToolButton *ToolButton_Voorkeuren;
    QToolButton *ToolButton_Info;
    QToolButton *ToolButton_Afsluiten;
    TMonthCalendar *MonthCalendar1;
    QStatusBar *StatusBar1;
    QTimer *Timer1;
    TTrayIcon *JvTrayIcon1;
    QMenu *PopupMenu_SystemTray;
    QAction *Menu_ST_Open;
    QAction *Menu_ST_Info;
    QAction *Menu_ST_Exit;
    QMenu *PopupMenu1;
    QAction *Ganaarvandaag1;
    QAction *Ganaar1;
    QAction *DateInfo1;
    QMenu *Kopieren1;
    std::array<QAction *, 5> CopyDate; // CopyDate1 .. CopyDate5
    QAction *OpslaanalsJPG1;
    QAction *Opties2;
    TkxExtSaveDialog *kxExtSaveDialog1;

public slots:
    void FormShow();
    void Timer1Timer();
    void MonthCalendar1Click();
    void ToolButton_GaNaarClick();
    void ToolButton_DateInfoClick();
    void ToolButton_StayOnTopClick();
    void ToolButton_VoorkeurenClick();
    void ToolButton_InfoClick();
    void ToolButton_AfsluitenClick();
    void Menu_ST_OpenClick();
    void Menu_ST_ExitClick();
    void PopupMenu_SystemTrayPopup();
    void Ganaarvandaag1Click();
    void CopyDate1Click();
    void OpslaanalsJPG1Click();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void EnsureDialogs();
    void CreateToolBar();
    void CreateMenus();
    void CreateStatusBar();
    void ReadSettings();
    void FormClose();
    void AppMinimize();
    void AppRestore();
    void ShowFirstTime();
    void PositionMonthView();
    void FitContent();
    void SettingsChanged(TSettingFields changed);
    void ApplyStayOnTop();
    void SetStayOnTop(bool onTop);
    void ApplyColors();
    void SetCopyCaptions(TDateTime date);

    TSettingsModel &FSettings;
    TSettingsModel::TSubscription FListening;
    std::optional<TLanguage> FLanguage; // the language the windows show, once applied
    std::array<QLabel *, 3> FStatusPanels{};
    TForm_GaNaar *FGaNaar = nullptr;
    TForm_Opties *FOpties = nullptr;
    TForm_DatumInfo *FDatumInfo = nullptr;
    TAboutBox *FAboutBox = nullptr;
    std::function<void()> FDialogMaker;
    bool FShowMainForm = true; // false when the program starts hidden in the tray
    bool FStartMinimized = false; // starts minimised to the task bar
    bool FShown = false;       // the show sequence has run
    bool FClosed = false;      // the placement has been written
    TFramePlacement *FPlacement = nullptr;
};
