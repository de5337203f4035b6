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
#include "support/SettingsSupport.h"

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

class OptiesFixture : public testing::Test {
protected:
    void SetUp() override
    {
        settings.Read(); // the defaults, Dutch
        SetProgramFormatSettings(dialogtest::KnownSettings());
        SetMessageBoxRunner([this](QMessageBox &box) {
            messages.push_back({box.windowTitle(), box.text(), box.icon(), box.standardButtons()});
        });
        form.emplace(settings.Model());
        QObject::connect(&*form, &TForm_Opties::LanguageChanged, &*form, [this](TLanguage language) {
            ++languageSwitches;
            dialogtest::ApplyLanguage(&*form, language);
        });
    }

    void TearDown() override
    {
        form.reset();
        SetMessageBoxRunner(nullptr);
        SetProgramFormatSettings(DefaultFormatSettings());
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

    // The settings as the dialog has them: its copy while it is open.
    const TRecRec &Current() const { return form->isVisible() ? form->Edited() : settings.Record(); }
    // Sets a field of the settings in force, as before the dialog opens.
    template <typename T, typename V> void Set(T TRecRec::*field, V value)
    {
        settings.Change([&](TRecRec &rec) { rec.*field = value; });
    }

    testsupport::TScopedSettings settings;
    TMemoryRegistryBackend &backend = settings.Memory();
    testsupport::TScopedClock clock{MakeDate(2003, 6, 20) + 0.5};
    std::optional<TForm_Opties> form;
    std::vector<TShownMessage> messages;
    int languageSwitches = 0;
};

} // namespace optiestest
