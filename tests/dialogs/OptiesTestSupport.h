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

class OptiesFixture : public testing::Test {
protected:
    void SetUp() override
    {
        ReadSettings(RecRec, backend, 96, 1024, 768, 0x0413); // the defaults, Dutch
        SetProgramFormatSettings(dialogtest::KnownSettings());
        SetMessageBoxRunner([this](QMessageBox &box) {
            messages.push_back({box.windowTitle(), box.text(), box.icon(), box.standardButtons()});
        });
        form.emplace();
        QObject::connect(&*form, &TForm_Opties::LanguageChanged, &*form, [this] {
            ++languageSwitches;
            dialogtest::ApplyLanguage(&*form, LanguageOf(RecRec.Taal));
        });
    }

    void TearDown() override
    {
        form.reset();
        SetMessageBoxRunner(nullptr);
        SetProgramFormatSettings(DefaultFormatSettings());
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
    testsupport::TScopedBackend useBackend{backend};
    testsupport::TScopedClock clock{MakeDate(2003, 6, 20) + 0.5};
    std::optional<TForm_Opties> form;
    std::vector<TShownMessage> messages;
    int languageSwitches = 0;
};

} // namespace optiestest
