#include "app/SettingsNotice.h"

#include "dialogs/DialogHelpers.h"
#include "settings/FileRegistryBackend.h"
#include "settings/SettingsModel.h"
#include "settings/StoreTestSupport.h"
#include "support/TestSupport.h"

#include <QMessageBox>
#include <gtest/gtest.h>

using namespace storetest;

// After a damaged settings file, the start says so once in the interface language and names the
// kept file; after a sound one it says nothing.
TEST(SettingsNotice, NamesTheKeptDamagedFileInTheInterfaceLanguage)
{
    struct Case {
        const char *Stored;
        std::int32_t Taal;
        const char *Says;
    };
    for (const Case &c :
         {Case{"damage\n", 0, "beschadigd"}, Case{"damage\n", 1, "damaged"}, Case{"", 1, nullptr}}) {
        TempFolder folder;
        WriteText(folder.StorePath(), "Windows Registry Editor Version 5.00\n\n[" + AlgemeenKey +
                                          "]\n\"Taal\"=dword:0000000" + std::to_string(c.Taal) + "\n" +
                                          c.Stored);
        TFileRegistryBackend backend(folder.StorePath(), [](const std::string &) {});
        TSettingsModel settings(backend);
        settings.Read(96, 1024, 768, 0x0409);
        std::vector<QString> shown;
        SetMessageBoxRunner([&](QMessageBox &box) {
            shown.push_back(box.text());
            box.show(); // laid out as the user sees it
            testsupport::SaveScreenshot(&box, QString("SettingsNotice-%1").arg(c.Taal));
            box.hide();
        });

        ShowSettingsNotice(nullptr, settings);

        SetMessageBoxRunner(nullptr);
        if (!c.Says) {
            EXPECT_TRUE(shown.empty());
            continue;
        }
        ASSERT_EQ(shown.size(), 1u) << c.Taal;
        EXPECT_TRUE(shown[0].contains(c.Says)) << shown[0].toStdString();
        EXPECT_TRUE(shown[0].endsWith(QString::fromStdString(backend.KeptDamagedCopy())))
            << shown[0].toStdString();
    }
}
