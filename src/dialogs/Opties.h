#pragma once
// The Options dialog: language, toolbar captions, minimising and start-up, the month view's look
// (week numbers, today's circle, status bar, font, colours, opacity) and the two date patterns.
// The dialog edits a copy of the settings: most controls write it the moment they change; the
// colours, the patterns and the opacity are taken on OK, which commits the copy to the settings
// model. Closed without OK, the copy is kept for this run without being stored.

#include "dialogs/LanguageTables.h"
#include "dialogs/ToolDialog.h"
#include "settings/SettingsModel.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSlider;
class QTabWidget;
class QToolButton;
class TRadioGroup;
class TkxBitBtn;
class TkxColorPicker;
class TkxFontComboBox;

class TForm_Opties : public TToolDialog {
    Q_OBJECT
public:
    explicit TForm_Opties(TSettingsModel &settings, QWidget *parent = nullptr);

    // Shows the tag help in English or in Dutch.
    void ShowTagMemo(bool english);
    // The texts of the language that no language row carries: the items of the minimise,
    // start-up and month-position groups (the stored choices selected again), the colour
    // pickers' language and the tag help shown.
    void ApplyLanguageTexts(TLanguage language);
    // The settings as the controls have them now.
    const TRecRec &Edited() const { return FEdited; }

    QTabWidget *PageControl1;
    QWidget *TabSheet_Algemeen;
    TRadioGroup *RadioGroup_Taal;
    QLabel *Image2;
    QGroupBox *GroupBoxWerkbalk;
    QCheckBox *CheckBoxCaptions;
    QLabel *Image_Toolbar;
    TRadioGroup *RadioGroup_SystemTray;
    QLabel *Image4;
    QLabel *Image_Pijl;
    TRadioGroup *RadioGroup_Startup;
    QLabel *Image1;
    TRadioGroup *RadioGroup_MonthPosition;
    QLabel *ImagePosition;

    QWidget *TabSheet_Weergave;
    QGroupBox *GroupBox_Weergave;
    QCheckBox *CheckBox_Weeknummers;
    QCheckBox *CheckBox_Vandaag;
    QCheckBox *CheckBox_ShowStatus;
    QLabel *Image_Weergave;
    QGroupBox *GroupBoxFont;
    TkxFontComboBox *kxFontComboBox1;
    QComboBox *ComboBoxFontSize;
    QLabel *LabelFontSize; // not shown: names the size box for screen readers, which read a combo box's label
    QLabel *Image3;
    QGroupBox *GroupBox_Kleuren;
    TkxColorPicker *kxColorPickerAchtergrond;
    TkxColorPicker *kxColorPickerAchtergrondTitel;
    TkxColorPicker *kxColorPickerTitel;
    TkxColorPicker *kxColorPickerDagenDezeMaand;
    TkxColorPicker *kxColorPickerDagenAnderMaanden;
    QLabel *Label_KleurAchtergrond;
    QLabel *Label_KleurAchterTitel;
    QLabel *Label_KleurTitel;
    QLabel *Label_KleurDagen;
    QLabel *Label_KleurDagenAndere;
    QLabel *Image6;
    QGroupBox *GroupBoxAlphaBlend;
    QSlider *TrackBarAlphaBlend;
    QLabel *LabelAlphaBlend;

    QWidget *TabSheetDateFormat;
    QGroupBox *GroupBoxDateFormat;
    QLabel *LabelCopyDate;
    QLineEdit *EditCopyDate;
    QToolButton *SpeedButtonExampleCopy;
    QLabel *LabelHintSystemTray;
    QLineEdit *EditHintSystemTray;
    QToolButton *SpeedButtonExampleHint;
    QLabel *Image5;
    QGroupBox *GroupBoxInfoTags;
    QPlainTextEdit *MemoDateTagsNed;
    QPlainTextEdit *MemoDateTagsEng;

    TkxBitBtn *BitBtn_OK;

    // Hidden holders of the preview pictures; a preview shows a copy of one of them.
    QLabel *Image_Wg1, *Image_Wg2, *Image_Wg3, *Image_Wg4;
    QLabel *Image_TB1, *Image_TB2, *Image_TB3, *Image_TB4;
    QLabel *Image_Pos1, *Image_Pos2;

signals:
    // The language chosen changed: every window is to show its texts in it now.
    void LanguageChanged(TLanguage language);

public slots:
    void FormShow() override;
    void BitBtn_OKClick();
    // Key preview: sees every typed character before the focused control does.
    void FormKeyPress(int key);
    void RadioGroup_TaalClick();
    void CheckBoxCaptionsClick();
    void RadioGroup_SystemTrayClick();
    void RadioGroup_StartupClick();
    void RadioGroup_MonthPositionClick();
    void CheckBox_WeeknummersClick();
    void CheckBox_VandaagClick();
    void CheckBox_ShowStatusClick();
    void kxFontComboBox1Change();
    void ComboBoxFontSizeChange();
    void TrackBarAlphaBlendChange();
    void SpeedButtonExampleCopyClick();
    void SpeedButtonExampleHintClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void done(int result) override;
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // In the order of the month view's colours (ViewColors).
    std::array<TkxColorPicker *, 5> ColorPickers() const;
    void CreateControls();
    void CreateGeneralTab();
    void CreateViewTab();
    void CreateDateFormatTab();
    void SizePictures();
    void PaintPictures();
    void GrowToFit();
    QHBoxLayout *GroupRow(QGroupBox *group);
    void StackGroups(QWidget *page, int spacing, std::initializer_list<std::pair<QGroupBox *, QSize>> groups);
    void FitControls();
    void RefreshLayouts();
    void LoadControls();
    void ShowStoredFont();
    // Selects in the minimise, start-up and month-position groups the entries that match the settings.
    void ShowStoredChoices();
    bool SaveSettings();
    void UpdateViewPicture();
    void UpdateToolbarPicture();
    void UpdatePositionPicture();
    void PlaceArrow();
    void ShowExample(const std::string &pattern);

    // The screen scale and pixel ratio the pictures were drawn for.
    qreal FPicturesScale = 0;
    qreal FPicturesRatio = 0;
    TSettingsModel &FSettings;
    // The copy the controls edit, taken from the settings at each showing; between showings it
    // is what the settings hold.
    TRecRec FEdited;
    TSettingsModel::TSubscription FListening;
    // The colours as the pickers showed them when the dialog opened.
    std::array<std::uint32_t, 5> FShownColors{};
};
