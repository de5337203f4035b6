// No stored value of any setting keeps the program from starting, showing its window and
// ending as asked.
#include "desktop/DesktopSession.h"

#include <gtest/gtest.h>

using namespace desktop;

namespace {

const char *const Algemeen[] = {"KleurAchtergrond", "KleurAchtergrondTitel", "KleurTitel", "KleurDagenDezeMaand",
                                "KleurDagenAndereMaand", "SysteemLade", "GeminimaliseerdOpstarten", "Weeknummers",
                                "Vandaag", "Lettertype", "Lettergrootte", "StatusTonen", "PositieMaand",
                                "KopieerDatumFormaat", "HintSysteemLadeFormaat", "AlphaBlend", "Taal",
                                "AantalMaanden", "PictogrammenOplichten", "TitelsKnoppen"};
const char *const Positie[] = {"Breedte", "Hoogte", "Boven", "Links", "OpVoorgrond"};

TEST(OddSettings, EverySettingAtAnOddValueStillStartsShowsAndEnds)
{
    TDesktop desktop;
    ASSERT_TRUE(desktop.Ready());
    const QString odd[] = {
        "dword:ffffffff",                                     // negative
        "dword:00000000",                                     // zero
        "dword:7fffffff",                                     // the largest
        "dword:80000000",                                     // the smallest
        "\"12\"",                                             // text where a number belongs
        "hex:00,ff",                                          // a kind the program never writes
        "\"\"",                                               // empty text
        '"' + QString(4000, 'y') + " dddd ww mmmm " + QString(4000, '"').replace('"', "\\\"") + '"', // long text
    };
    for (const QString &value : odd) {
        QStringList values;
        for (const char *name : Algemeen)
            values << QStringLiteral("Algemeen\\%1=%2").arg(name, value);
        for (const char *name : Positie)
            values << QStringLiteral("Positie\\%1=%2").arg(name, value);
        TProgram program(values);
        program.Start(DesktopEnvironment(desktop));
        const std::string label = value.left(20).toStdString();
        EXPECT_TRUE(WaitFor([&] {
            const auto windows = desktop.Windows(program.Pid());
            return !windows.empty() && windows.front().State == TDesktop::Normal &&
                   desktop.WorkArea().intersects(windows.front().FrameRect());
        })) << label;
        EXPECT_EQ(program.Terminate(), 0) << label << program.ErrorOutput().toStdString();
    }
}

} // namespace
