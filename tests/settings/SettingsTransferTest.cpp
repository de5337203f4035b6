#include "settings/SettingsTransfer.h"
#include "settings/FileRegistryBackend.h"
#include "settings/Settings.h"
#include "settings/StoreTestSupport.h"

#include <gtest/gtest.h>

using namespace storetest;
using namespace std::string_view_literals;
namespace fs = std::filesystem;

namespace {

// Files written by the registry editor itself (under Wine, see data/README.md) and the other forms
// it reads.
const char *const Forms[] = {"wine-utf16le.reg", "utf16be.reg", "utf8-lf.reg", "utf8-bom-crlf.reg",
                             "regedit4-cp1252.reg"};

std::string Fixture(const std::string &name)
{
    const char *source = std::getenv("ORVANI_SOURCE_DIR");
    return (fs::path(source ? source : ".") / "tests" / "settings" / "data" / name).string();
}

// Text as the registry holds it: UTF-16LE with its terminator(s).
std::string Utf16(std::u16string_view text)
{
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

TRegValue Bytes(TRegDataType kind, std::string bytes)
{
    return {kind, 0, std::move(bytes)};
}

std::string Block()
{
    std::string bytes;
    for (int i = 0; i < 100; ++i) {
        bytes += static_cast<char>(i);
    }
    return bytes;
}

struct Value {
    std::string Key;
    std::string Name;
    TRegValue Expected;
};

// Every value of the fixtures, as made with the registry editor's tools.
const std::vector<Value> &FixtureValues()
{
    using R = TRegValue;
    static const std::vector<Value> values = {
        {AlgemeenKey, "AantalMaanden", R::Integer(0)},
        {AlgemeenKey, "AlphaBlend", R::Integer(200)},
        {AlgemeenKey, "Blok", Bytes(TRegDataType::rdBinary, Block())},
        {AlgemeenKey, "GeminimaliseerdOpstarten", R::Integer(0)},
        {AlgemeenKey, "Groot", Bytes(TRegDataType::rdQWord, "\xEF\xCD\xAB\x89\x67\x45\x23\x01")},
        {AlgemeenKey, "HintSysteemLadeFormaat", R::String("")},
        {AlgemeenKey, "KleurAchtergrond", R::Integer(0x00F5F2F1)},
        {AlgemeenKey, "KleurAchtergrondTitel", R::Integer(0x00800000)},
        {AlgemeenKey, "KleurDagenAndereMaand", R::Integer(0x00800080)},
        {AlgemeenKey, "KleurDagenDezeMaand", R::Integer(0)},
        {AlgemeenKey, "KleurTitel", R::Integer(0xFF00000F)},
        {AlgemeenKey, "KopieerDatumFormaat", R::String("dd \"mm\" \\yyyy\\ \xE2\x80\x93 ww")},
        {AlgemeenKey, "LeegBlok", Bytes(TRegDataType::rdBinary, "")},
        {AlgemeenKey, "Lettergrootte", R::Integer(12)},
        {AlgemeenKey, "Lettertype", R::String("Caf\xC3\xA9 Sans")},
        {AlgemeenKey, "Niets", Bytes(TRegDataType::rdNone, std::string(2, '\0'))},
        {AlgemeenKey, "Pad",
         Bytes(TRegDataType::rdExpandString, Utf16(u"%HOME%\\Kalender \u2013 Caf\u00E9\0"sv))},
        {AlgemeenKey, "PictogrammenOplichten", R::Integer(1)},
        {AlgemeenKey, "PositieMaand", R::Integer(1)},
        {AlgemeenKey, "Regels",
         Bytes(TRegDataType::rdMultiString, Utf16(u"\u00E9\u00E9n\0twee \"2\"\0C:\\drie\\\0\0"sv))},
        {AlgemeenKey, "StatusTonen", R::Integer(1)},
        {AlgemeenKey, "SysteemLade", R::Integer(1)},
        {AlgemeenKey, "Taal", R::Integer(0)},
        {AlgemeenKey, "TitelsKnoppen", R::Integer(1)},
        {AlgemeenKey, "Vandaag", R::Integer(1)},
        {AlgemeenKey, "Versie", R::String("2.2")},
        {AlgemeenKey, "Weeknummers", R::Integer(1)},
        {PositieKey, "Boven", R::Integer(0xFFFFFFF6)},
        {PositieKey, "Breedte", R::Integer(300)},
        {PositieKey, "Hoogte", R::Integer(250)},
        {PositieKey, "Links", R::Integer(20)},
        {PositieKey, "OpVoorgrond", R::Integer(0)},
    };
    return values;
}

const std::string SomeSettings = "Windows Registry Editor Version 5.00\n\n[" + PositieKey +
                                 "]\n\"Extra\"=dword:00000007\n\"Links\"=dword:00000001\n\n";

} // namespace

// Every form is merged into the store with every value intact; the store stays UTF-8 with LF,
// keeps the values it had, and the program reads the settings from it.
TEST(ImportSettings, TakesEveryFormTheRegistryEditorWrites)
{
    for (const char *form : Forms) {
        SCOPED_TRACE(form);
        TempFolder folder;
        WriteText(folder.StorePath(), SomeSettings);

        ASSERT_EQ(ImportSettings(Fixture(form), folder.StorePath()), "");

        TFileRegistryBackend backend(folder.StorePath());
        for (const Value &value : FixtureValues()) {
            EXPECT_EQ(backend.ReadValue(value.Key, value.Name), value.Expected) << value.Name;
        }
        EXPECT_EQ(backend.ReadValue(PositieKey, "Extra"), TRegValue::Integer(7));
        const std::string text = ReadText(folder.StorePath());
        EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\n\n", 0), 0u);
        EXPECT_EQ(text.find('\r'), std::string::npos);
        TRecRec rec;
        ReadSettings(rec, backend, 96, 1024, 768, 0x0409);
        EXPECT_EQ(rec.Lettertype, "Caf\xC3\xA9 Sans");
        EXPECT_EQ(rec.Boven, -10);
    }
}

// Files as people write them: a last line without a line feed, comments after values, and the
// deletions of values and keys, which an import carries out (a deleted setting goes back to its
// default at the next start).
TEST(ImportSettings, CarriesOutWhatPeopleWrite)
{
    const std::string header = "Windows Registry Editor Version 5.00\r\n\r\n";
    struct Case {
        const char *What;
        std::string File;
        std::optional<TRegValue> Extra, Links; // afterwards, in Positie
    };
    using R = TRegValue;
    const Case cases[] = {
        {"no final line feed", header + "[" + PositieKey + "]\r\n\"Links\"=dword:00000002", R::Integer(7),
         R::Integer(2)},
        {"comments after values",
         header + "[" + PositieKey + "]\r\n\"Links\"=dword:00000003 ; links\r\n\"Extra\"=\"x\" ; y\r\n",
         R::String("x"), R::Integer(3)},
        {"a value deleted", header + "[" + PositieKey + "]\n\"Extra\"=-\n", std::nullopt, R::Integer(1)},
        {"a key deleted", header + "[-" + PositieKey + "]\n", std::nullopt, std::nullopt},
        {"a key above deleted, then set",
         header + "[-HKEY_CURRENT_USER\\Software\\KX]\n[" + PositieKey + "]\n\"Links\"=dword:4\n",
         std::nullopt, R::Integer(4)},
    };
    for (const Case &c : cases) {
        TempFolder folder;
        WriteText(folder.StorePath(), SomeSettings);
        const fs::path file = folder.Path() / "import.reg";
        WriteText(file, c.File);

        EXPECT_EQ(ImportSettings(file.string(), folder.StorePath()), "") << c.What;

        TFileRegistryBackend backend(folder.StorePath());
        EXPECT_EQ(backend.ReadValue(PositieKey, "Extra"), c.Extra) << c.What;
        EXPECT_EQ(backend.ReadValue(PositieKey, "Links"), c.Links) << c.What;
    }
}

// Whatever form came in, the export is byte for byte what the registry editor itself exported.
TEST(ExportSettings, WritesExactlyWhatTheRegistryEditorExports)
{
    std::vector<std::pair<std::vector<std::string>, std::string>> cases; // imported in turn, then exported
    for (const char *form : Forms) {
        cases.push_back({{form}, "wine-utf16le.reg"});
    }
    // A file written by hand over the registry editor's own: what Wine's registry editor made of it.
    cases.push_back({{"wine-utf16le.reg", "by-hand.reg"}, "wine-by-hand.reg"});
    for (const auto &[imports, expected] : cases) {
        SCOPED_TRACE(imports.back());
        TempFolder folder;
        for (const std::string &file : imports) {
            ASSERT_EQ(ImportSettings(Fixture(file), folder.StorePath()), "");
        }
        const std::string exported = (folder.Path() / "export.reg").string();

        ASSERT_EQ(ExportSettings(folder.StorePath(), exported, 0x0409), "");

        const std::string wine = ReadText(Fixture(expected));
        ASSERT_FALSE(wine.empty());
        EXPECT_EQ(ReadText(exported), wine);
    }
}

// A file that cannot be taken is refused with one line saying why, and nothing is touched.
TEST(ImportSettings, RefusesWhatItCannotTakeAndTouchesNothing)
{
    const std::string otherKey =
        "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Other]\n"
        "\"Taal\"=dword:00000001\n";
    const std::string unreadable =
        "Windows Registry Editor Version 5.00\n\n[" + AlgemeenKey + "]\n\"Taal\"=what\n";
    struct Case {
        const char *What;
        std::optional<std::string> Content; // none: no file
        std::string Says;
    };
    const Case cases[] = {
        {"missing", std::nullopt, "No such file"},
        {"damaged", "Taal=1\n", "damaged"},
        {"other program's key", otherKey, "no settings of Orvani"},
        {"unreadable value", unreadable, "\"Taal\""},
    };
    for (const Case &c : cases) {
        TempFolder folder;
        WriteText(folder.StorePath(), SomeSettings);
        const fs::path file = folder.Path() / "import.reg";
        if (c.Content) {
            WriteText(file, *c.Content);
        }

        const std::string said = ImportSettings(file.string(), folder.StorePath());

        EXPECT_EQ(said.rfind("orvani: ", 0), 0u) << c.What;
        EXPECT_NE(said.find(c.Says), std::string::npos) << c.What << ": " << said;
        EXPECT_EQ(ReadText(folder.StorePath()), SomeSettings) << c.What;
    }

    TempFolder folder; // a read-only store takes nothing either
    WriteText(folder.StorePath(), SomeSettings);
    fs::permissions(folder.StorePath(), fs::perms::owner_read);
    EXPECT_NE(ImportSettings(Fixture(Forms[0]), folder.StorePath()).find("read-only"), std::string::npos);
    EXPECT_EQ(ReadText(folder.StorePath()), SomeSettings);
}

TEST(ExportSettings, RefusesWithoutUsableSettingsAndTouchesNothing)
{
    struct Case {
        const char *What;
        std::optional<std::string> Store; // none: no file
        std::string Says;
    };
    const Case cases[] = {
        {"damaged store", SomeSettings + "damage\n", "damaged"},
    };
    for (const Case &c : cases) {
        TempFolder folder;
        if (c.Store) {
            WriteText(folder.StorePath(), *c.Store);
        }
        const std::string exported = (folder.Path() / "export.reg").string();
        WriteText(exported, "earlier");

        const std::string said = ExportSettings(folder.StorePath(), exported, 0x0409);

        EXPECT_EQ(said.rfind("orvani: ", 0), 0u) << c.What;
        EXPECT_NE(said.find(c.Says), std::string::npos) << c.What << ": " << said;
        EXPECT_EQ(ReadText(exported), "earlier") << c.What;
    }
    TempFolder folder;
    WriteText(folder.StorePath(), SomeSettings);
    EXPECT_NE(ExportSettings(folder.StorePath(), (folder.Path() / "none" / "export.reg").string(), 0x0409),
              "");
    EXPECT_FALSE(fs::exists(folder.Path() / "none"));
}
