#pragma once
// What the Options dialog tests share: settings in memory with their defaults, a fixed today,
// a recorded message box, and the language switch as the main window performs it.

#include "components/kxColorPick.h"
#include "components/kxStandard.h"
#include "dialogs/DialogHelpers.h"
#include "dialogs/Opties.h"
#include "dialogs/RadioGroup.h"
#include "dialogs/ToolDialogTestSupport.h"
#include "settings/MemoryRegistryBackend.h"
#include "settings/Settings.h"

#include <QMessageBox>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <optional>
#include <vector>

namespace optiestest {

inline constexpr const char *AlgemeenKey = "HKEY_CURRENT_USER\\Software\\KX\\Orvani\\Algemeen";

// What a message box showed.
struct TShownMessage {
    QString Title;
    QString Text;
    QMessageBox::Icon Icon;
    QMessageBox::StandardButtons Buttons;
};

// The property that carries a row's text; tab texts belong to the page control instead.
inline const char *RowProperty(TTextTarget target)
{
    // Text, Hint, Caption and Title, in the order of TTextTarget.
    static const char *const properties[] = {"text", "toolTip", "windowTitle", "title"};
    return target == TTextTarget::Tab ? nullptr : properties[static_cast<int>(target)];
}

// Sets every text of the dialog for a language as the main window's ApplyLanguage does: the
// rows, then the radio items, the pickers' language and the tag memo.
inline void ApplyOptiesLanguage(TForm_Opties &form, TLanguage language)
{
    for (const TLanguageRow &row : LanguageRows()) {
        if (form.objectName() != row.Window) {
            continue;
        }
        const QString text = QString::fromUtf8(row.Texts[language]);
        QObject *control = *row.Control ? form.findChild<QObject *>(row.Control) : &form;
        ASSERT_NE(control, nullptr) << row.Control;
        if (row.Target == TTextTarget::Tab) {
            form.PageControl1->setTabText(form.PageControl1->indexOf(static_cast<QWidget *>(control)), text);
            continue;
        }
        control->setProperty(RowProperty(row.Target), text);
    }
    const TLanguageTexts &texts = LanguageTexts(language);
    const auto refill = [](TRadioGroup *group, const char *const(&items)[2], int index) {
        group->SetItems({QString::fromUtf8(items[0]), QString::fromUtf8(items[1])});
        group->SetItemIndex(index);
    };
    refill(form.RadioGroup_SystemTray, texts.RadioSystemTray, RecRec.SysteemLade ? 1 : 0);
    refill(form.RadioGroup_Startup, texts.RadioStartup, RecRec.GeminimaliseerdOpstarten ? 1 : 0);
    refill(form.RadioGroup_MonthPosition, texts.RadioMonthPosition, RecRec.PositieMaand);
    for (TkxColorPicker *picker : form.findChildren<TkxColorPicker *>()) {
        picker->SetLanguage(language == lnEnglish ? lgEnglish : lgNederlands);
    }
    form.ShowTagMemo(language == lnEnglish);
}

class OptiesFixture : public testing::Test {
protected:
    void SetUp() override
    {
        SetUserSettingsBackend(&backend);
        ReadSettings(RecRec, backend, 96, 1024, 768, 0x0413); // the defaults, Dutch
        SetClock([] { return MakeDate(2003, 6, 20) + 0.5; });
        SetProgramFormatSettings(dialogtest::KnownSettings());
        SetMessageBoxRunner([this](QMessageBox &box) {
            messages.push_back({box.windowTitle(), box.text(), box.icon(), box.standardButtons()});
        });
        form.emplace();
        QObject::connect(&*form, &TForm_Opties::LanguageChanged, &*form, [this] {
            ++languageSwitches;
            ApplyOptiesLanguage(*form, LanguageOf(RecRec.Taal));
        });
    }

    void TearDown() override
    {
        form.reset();
        SetMessageBoxRunner(nullptr);
        SetProgramFormatSettings(DefaultFormatSettings());
        SetClock(nullptr);
        SetUserSettingsBackend(nullptr);
        RecRec = TRecRec{};
    }

    // Shows the dialog as the main window does.
    void Open()
    {
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&*form));
    }

    void ClickOk() { QTest::mouseClick(form->BitBtn_OK, Qt::LeftButton); }

    // Clicks a radio item by its indicator.
    static void Choose(TRadioGroup *group, int index)
    {
        QRadioButton *button = group->Button(index);
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    const TRegValue *Stored(const char *name) const { return backend.Document().Find(AlgemeenKey, name); }

    TMemoryRegistryBackend backend;
    std::optional<TForm_Opties> form;
    std::vector<TShownMessage> messages;
    int languageSwitches = 0;
};

} // namespace optiestest
