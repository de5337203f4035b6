#include "settings/Settings.h"
#include "settings/FileRegistryBackend.h"
#include "settings/SettingsModel.h"
#include "settings/StoreTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include <sys/wait.h>
#include <unistd.h>

using namespace storetest;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

constexpr std::uint32_t English = 0x0409;
constexpr std::uint32_t Dutch = 0x0413;

const char *const FirstStartText = R"(Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\KX\Orvani\Algemeen]
"KleurAchtergrond"=dword:00f5f2f1
"KleurAchtergrondTitel"=dword:00800000
"KleurTitel"=dword:00ffffff
"KleurDagenDezeMaand"=dword:00000000
"KleurDagenAndereMaand"=dword:00800080
"SysteemLade"=dword:00000000
"GeminimaliseerdOpstarten"=dword:00000000
"Weeknummers"=dword:00000000
"Vandaag"=dword:00000000
"Lettertype"="Arial"
"Lettergrootte"=dword:00000009
"StatusTonen"=dword:00000001
"PositieMaand"=dword:00000000
"KopieerDatumFormaat"="ww * dddd dd-mm-yy * yyyy"
"HintSysteemLadeFormaat"="ww * dddd dd-mm-yy * yyyy"
"AlphaBlend"=dword:000000fa
"Taal"=dword:00000001
"AantalMaanden"=dword:00000000
"PictogrammenOplichten"=dword:00000001
"TitelsKnoppen"=dword:00000000

[HKEY_CURRENT_USER\Software\KX\Orvani\Positie]
"Breedte"=dword:000000cc
"Hoogte"=dword:000000df
"Boven"=dword:00000110
"Links"=dword:0000019a
"OpVoorgrond"=dword:00000000

)";

TRecRec ReadFrom(TRegistryBackend &backend, double dpi = 96, int width = 1024, int height = 768,
                 std::uint32_t lcid = English)
{
    TRecRec rec;
    ReadSettings(rec, backend, dpi, width, height, lcid);
    return rec;
}

void Store(TRegistryBackend &backend, const std::string &key, const std::string &name, TRegValue value)
{
    backend.Commit(key, {TRegChange{name, std::move(value)}});
}

} // namespace

TEST(ReadSettings, FirstStartStoresEveryDefault)
{
    TempFolder folder;
    TFileRegistryBackend backend(folder.StorePath());

    const TRecRec rec = ReadFrom(backend);

    EXPECT_EQ(ReadText(folder.StorePath()), FirstStartText);
    EXPECT_EQ(rec.KleurAchtergrond, 0x00F5F2F1u);
    EXPECT_EQ(rec.KleurAchtergrondTitel, 0x00800000u);
    EXPECT_EQ(rec.KleurTitel, 0x00FFFFFFu);
    EXPECT_EQ(rec.KleurDagenDezeMaand, 0u);
    EXPECT_EQ(rec.KleurDagenAndereMaand, 0x00800080u);
    EXPECT_FALSE(rec.SysteemLade || rec.GeminimaliseerdOpstarten || rec.Weeknummers || rec.Vandaag);
    EXPECT_EQ(rec.Lettertype, "Arial");
    EXPECT_EQ(rec.Lettergrootte, 9);
    EXPECT_TRUE(rec.StatusTonen);
    EXPECT_EQ(rec.PositieMaand, 0);
    EXPECT_EQ(rec.KopieerDatumFormaat, "ww * dddd dd-mm-yy * yyyy");
    EXPECT_EQ(rec.HintSysteemLadeFormaat, "ww * dddd dd-mm-yy * yyyy");
    EXPECT_EQ(rec.AlphaBlend, 250);
    EXPECT_EQ(rec.Taal, 1);
    EXPECT_EQ(rec.AantalMaanden, 0);
    EXPECT_TRUE(rec.PictogrammenOplichten);
    EXPECT_FALSE(rec.TitelsKnoppen);
    EXPECT_EQ(rec.Breedte, 204);
    EXPECT_EQ(rec.Hoogte, 223);
    EXPECT_EQ(rec.Links, 410);
    EXPECT_EQ(rec.Boven, 272);
    EXPECT_FALSE(rec.OpVoorgrond);
}

TEST(ReadSettings, ReadsInTheProgramsOrderAndWritesOneBatchPerKey)
{
    RecordingBackend backend;
    ReadFrom(backend);

    EXPECT_THAT(backend.Reads,
                ElementsAre("KleurAchtergrond", "KleurAchtergrondTitel", "KleurTitel", "KleurDagenDezeMaand",
                            "KleurDagenAndereMaand", "SysteemLade", "GeminimaliseerdOpstarten", "Weeknummers",
                            "Vandaag", "Lettertype", "Lettergrootte", "StatusTonen", "PositieMaand",
                            "KopieerDatumFormaat", "HintSysteemLadeFormaat", "AlphaBlend", "Taal",
                            "AantalMaanden", "PictogrammenOplichten", "TitelsKnoppen", "Breedte", "Hoogte",
                            "Boven", "Links", "OpVoorgrond"));
    ASSERT_EQ(backend.Batches.size(), 2u);
    EXPECT_EQ(backend.Batches[0].Path, AlgemeenKey);
    EXPECT_EQ(backend.Batches[0].Names.size(), 20u);
    EXPECT_EQ(backend.Batches[1].Path, PositieKey);
    EXPECT_EQ(backend.Batches[1].Names.size(), 5u);
}

TEST(ReadSettings, LaterStartsReadStoredValuesWithoutWriting)
{
    RecordingBackend backend;
    ReadFrom(backend);
    Store(backend, AlgemeenKey, "Lettertype", TRegValue::String("Courier New"));
    Store(backend, AlgemeenKey, "vandaag", TRegValue::Integer(1)); // names ignore letter case
    Store(backend, PositieKey, "Links", TRegValue::Integer(static_cast<std::uint32_t>(-30)));
    backend.Batches.clear();

    const TRecRec rec = ReadFrom(backend);

    EXPECT_TRUE(backend.Batches.empty());
    EXPECT_EQ(rec.Lettertype, "Courier New");
    EXPECT_TRUE(rec.Vandaag);
    EXPECT_EQ(rec.Links, -30);
}

TEST(ReadSettings, WronglyTypedValuesAreReplacedInMemoryAndInTheFile)
{
    TempFolder folder;
    WriteText(folder.StorePath(), "Windows Registry Editor Version 5.00\n\n"
                                  "[HKEY_CURRENT_USER\\Software\\KX\\Orvani\\Algemeen]\n"
                                  "\"Taal\"=\"1\"\n"
                                  "\"Lettertype\"=hex(2):43,00,3a,00,00,00\n"
                                  "\"Weeknummers\"=dword:00000002\n"
                                  "\"StatusTonen\"=dword:ffffffff\n");
    TFileRegistryBackend backend(folder.StorePath());

    const TRecRec rec = ReadFrom(backend, 96, 1024, 768, Dutch);

    EXPECT_EQ(rec.Taal, 0);
    EXPECT_EQ(rec.Lettertype, "Arial");
    EXPECT_FALSE(rec.Weeknummers);
    EXPECT_TRUE(rec.StatusTonen);
    const std::string text = ReadText(folder.StorePath());
    EXPECT_THAT(text, ::testing::HasSubstr("\"Taal\"=dword:00000000\n"));
    EXPECT_THAT(text, ::testing::HasSubstr("\"Lettertype\"=\"Arial\"\n"));
    EXPECT_THAT(text, ::testing::HasSubstr("\"Weeknummers\"=dword:00000000\n"));
    EXPECT_THAT(text, ::testing::HasSubstr("\"StatusTonen\"=dword:00000001\n"));
    EXPECT_EQ(text.find("hex(2)"), std::string::npos);
}

TEST(ReadSettings, ColoursNeverChosenFollowTheDesktopsSchemeAndChosenOnesStayAsStored)
{
    RecordingBackend backend;
    TRecRec rec = ReadFrom(backend);
    for (const TViewColor &color : ViewColors) {
        EXPECT_EQ(ShownColor(rec, color, false), color.Default);
        EXPECT_EQ(ShownColor(rec, color, true), color.Dark);
    }
    rec.KleurAchtergrondTitel = 0x00800001; // one chosen: the five are the user's scheme
    for (const TViewColor &color : ViewColors) {
        EXPECT_EQ(ShownColor(rec, color, true), rec.*color.Field);
    }
}

TEST(ReadSettings, DefaultClientSizeFollowsTheDpi)
{
    struct Case {
        double Dpi;
        int Width, Height;
    };
    for (const Case c : {Case{96, 204, 223}, Case{120, 255, 279}, Case{144, 306, 334}, Case{0, 204, 223}}) {
        TMemoryRegistryBackend backend;
        const TRecRec rec = ReadFrom(backend, c.Dpi);
        EXPECT_EQ(rec.Breedte, c.Width) << c.Dpi;
        EXPECT_EQ(rec.Hoogte, c.Height) << c.Dpi;
    }
}

TEST(ReadSettings, CentresOnTheScreenWithTruncatingDivision)
{
    TMemoryRegistryBackend wide;
    Store(wide, PositieKey, "Breedte", TRegValue::Integer(803));
    const TRecRec rec = ReadFrom(wide, 96, 800, 600);
    EXPECT_EQ(rec.Links, -1);
    EXPECT_EQ(rec.Boven, (600 - 223) / 2);

    TMemoryRegistryBackend extreme; // no stored size can overflow the centring
    Store(extreme, PositieKey, "Breedte", TRegValue::Integer(0x80000000u));
    EXPECT_EQ(ReadFrom(extreme, 96, 1024, 768).Links, (1024 + 2147483648LL) / 2);
}

TEST(ReadSettings, LanguageDefaultComesFromTheLocaleAndIsStored)
{
    for (const std::uint32_t french : {0x040Cu, 0x080Cu, 0x0C0Cu, 0x100Cu, 0x140Cu}) {
        TMemoryRegistryBackend backend;
        EXPECT_EQ(ReadFrom(backend, 96, 1024, 768, french).Taal, 2);
        const TRegValue *stored = backend.Document().Find(AlgemeenKey, "Taal");
        ASSERT_NE(stored, nullptr);
        EXPECT_EQ(*stored, TRegValue::Integer(2));
    }
}

// A store that cannot be written must not make the program look broken (black on black, opacity
// 0): it starts as it would the first time.
TEST(ReadSettings, FailingWritesStillGiveTheDefaults)
{
    TMemoryRegistryBackend firstStart;
    TMemoryRegistryBackend backend;
    backend.SetFailWrites(true);

    EXPECT_EQ(ReadFrom(backend), ReadFrom(firstStart));
    EXPECT_FALSE(backend.Document().KeyExists(OrvaniKey));
}

TEST(ReadSettings, StoredValuesAreStillReadWhenWritesFail)
{
    TMemoryRegistryBackend backend;
    Store(backend, AlgemeenKey, "Lettergrootte", TRegValue::Integer(12));
    backend.SetFailWrites(true);

    const TRecRec rec = ReadFrom(backend);

    EXPECT_EQ(rec.Lettergrootte, 12);
    EXPECT_EQ(rec.Lettertype, "Arial");
}

TEST(LanguageDefaultForLcid, FollowsTheTable)
{
    for (std::uint32_t lcid : {0x0413u, 0x0813u}) {
        EXPECT_EQ(LanguageDefaultForLcid(lcid), 0) << std::hex << lcid;
    }
    for (std::uint32_t lcid : {0x040Cu, 0x080Cu, 0x0C0Cu, 0x100Cu, 0x140Cu}) {
        EXPECT_EQ(LanguageDefaultForLcid(lcid), 2) << std::hex << lcid;
    }
    for (std::uint32_t lcid : {0x0407u, 0x0807u, 0x0C07u, 0x1007u, 0x1407u}) {
        EXPECT_EQ(LanguageDefaultForLcid(lcid), 3) << std::hex << lcid;
    }
    for (std::uint32_t sublanguage = 1; sublanguage <= 20; ++sublanguage) {
        EXPECT_EQ(LanguageDefaultForLcid(sublanguage << 10 | 0x0A), 4) << sublanguage;
    }
    // Neighbours of the table: other sublanguages, sort orders, English.
    for (std::uint32_t lcid : {0x0409u, 0x0809u, 0x000Au, 0x540Au, 0x1040Au, 0x180Cu, 0x1807u, 0x0C13u, 0u}) {
        EXPECT_EQ(LanguageDefaultForLcid(lcid), 1) << std::hex << lcid;
    }
}

TEST(WriteSettings, PositieIsWrittenInItsOrder)
{
    RecordingBackend backend;
    ASSERT_TRUE(WritePositie(backend, 10, 20, 300, 400, true));

    ASSERT_EQ(backend.Batches.size(), 1u);
    EXPECT_EQ(backend.Batches[0].Path, PositieKey);
    EXPECT_THAT(backend.Batches[0].Names, ElementsAre("Boven", "Links", "Breedte", "Hoogte", "OpVoorgrond"));
    const TRecRec rec = ReadFrom(backend);
    EXPECT_EQ(rec.Boven, 10);
    EXPECT_EQ(rec.Links, 20);
    EXPECT_EQ(rec.Breedte, 300);
    EXPECT_EQ(rec.Hoogte, 400);
    EXPECT_TRUE(rec.OpVoorgrond);
}

TEST(WriteSettings, AlgemeenIsWrittenInItsOrderEndingWithTheVersion)
{
    RecordingBackend backend;
    TRecRec rec = ReadFrom(backend);
    rec.KleurTitel = 0xFF00000Fu; // a system colour survives the signed store
    rec.Lettertype = "Liberation Sans";
    rec.Taal = 0;
    backend.Batches.clear();

    ASSERT_TRUE(WriteAlgemeen(backend, rec, UnlikeInEveryField(rec)));

    ASSERT_EQ(backend.Batches.size(), 1u);
    EXPECT_EQ(backend.Batches[0].Path, AlgemeenKey);
    EXPECT_THAT(backend.Batches[0].Names, ElementsAreArray({"AantalMaanden",
                                                            "KleurAchtergrond",
                                                            "KleurAchtergrondTitel",
                                                            "KleurTitel",
                                                            "KleurDagenDezeMaand",
                                                            "KleurDagenAndereMaand",
                                                            "Taal",
                                                            "Lettertype",
                                                            "Lettergrootte",
                                                            "PositieMaand",
                                                            "SysteemLade",
                                                            "GeminimaliseerdOpstarten",
                                                            "Weeknummers",
                                                            "Vandaag",
                                                            "PictogrammenOplichten",
                                                            "TitelsKnoppen",
                                                            "StatusTonen",
                                                            "KopieerDatumFormaat",
                                                            "HintSysteemLadeFormaat",
                                                            "AlphaBlend",
                                                            "Versie"}));
    EXPECT_EQ(*backend.Document().Find(AlgemeenKey, "Versie"), TRegValue::String("2.2"));
    const TRecRec again = ReadFrom(backend);
    EXPECT_EQ(again.KleurTitel, 0xFF00000Fu);
    EXPECT_EQ(again.Lettertype, "Liberation Sans");
    EXPECT_EQ(again.Taal, 0);
}

TEST(WriteSettings, AlgemeenCarriesOnlyWhatChangedAndTheVersion)
{
    RecordingBackend backend;
    const TRecRec before = ReadFrom(backend);
    TRecRec rec = before;
    rec.TitelsKnoppen = true;
    rec.Lettertype = "Liberation Serif";
    backend.Batches.clear();

    ASSERT_TRUE(WriteAlgemeen(backend, rec, before));

    ASSERT_EQ(backend.Batches.size(), 1u);
    EXPECT_THAT(backend.Batches[0].Names, ElementsAre("Lettertype", "TitelsKnoppen", "Versie"));
}

// Two running copies each save Options with a change of their own, then close: every change
// survives, and the placement written at close leaves the general settings alone.
TEST(WriteSettings, TwoProcessesSavingOptionsKeepBothChanges)
{
    TempFolder folder;
    const std::string store = folder.StorePath();
    {
        TFileRegistryBackend first(store); // a first start stores the defaults
        ReadFrom(first);
    }
    int toChild[2], toParent[2];
    ASSERT_EQ(pipe(toChild), 0);
    ASSERT_EQ(pipe(toParent), 0);
    const auto wait = [](int fd) {
        char c = 0;
        return read(fd, &c, 1) == 1;
    };
    const auto signal = [](int fd) { return write(fd, "x", 1) == 1; };

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) { // B: reads at start, saves Options after A did, then closes
        TFileRegistryBackend backend(store);
        const TRecRec read = ReadFrom(backend);
        TRecRec rec = read;
        rec.PositieMaand = 1;
        const bool ok = signal(toParent[1]) && wait(toChild[0]) && WriteAlgemeen(backend, rec, read) &&
                        WritePositie(backend, 5, 6, 300, 400, false);
        _exit(ok ? 0 : 1);
    }
    TFileRegistryBackend backend(store); // A
    const TRecRec read = ReadFrom(backend);
    TRecRec rec = read;
    rec.TitelsKnoppen = true;
    ASSERT_TRUE(wait(toParent[0]));
    ASSERT_TRUE(WriteAlgemeen(backend, rec, read));
    ASSERT_TRUE(signal(toChild[1]));
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    for (int fd : {toChild[0], toChild[1], toParent[0], toParent[1]}) {
        close(fd);
    }
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(WritePositie(backend, 1, 2, 300, 400, false)); // A closes last

    TFileRegistryBackend after(store);
    const TRecRec stored = ReadFrom(after);
    EXPECT_TRUE(stored.TitelsKnoppen);
    EXPECT_EQ(stored.PositieMaand, 1);
    EXPECT_EQ(stored.Links, 2);
}

TEST(WriteSettings, ReportFailureWithoutThrowing)
{
    TMemoryRegistryBackend backend;
    backend.SetFailWrites(true);
    EXPECT_FALSE(WritePositie(backend, 1, 2, 3, 4, false));
    EXPECT_FALSE(WriteAlgemeen(backend, TRecRec{}, UnlikeInEveryField({})));
}

// What Options commits: the listeners hear exactly the fields that changed, the store receives
// exactly their values and the version, and a store that cannot be written changes nothing.
TEST(SettingsModel, CommitStoresAndTellsExactlyWhatChanged)
{
    using enum TSettingField;
    struct Case {
        const char *Name;
        std::function<void(TRecRec &)> Edit;
        TSettingFields Changed;
        std::vector<std::string> Stored;
    };
    const Case cases[] = {
        {"nothing", [](TRecRec &) {}, {}, {"Versie"}},
        {"language", [](TRecRec &rec) { rec.Taal = 0; }, {Taal}, {"Taal", "Versie"}},
        {"font and captions",
         [](TRecRec &rec) {
             rec.Lettertype = "DejaVu Serif";
             rec.Lettergrootte = 12;
             rec.TitelsKnoppen = true;
         },
         {Lettertype, Lettergrootte, TitelsKnoppen},
         {"Lettertype", "Lettergrootte", "TitelsKnoppen", "Versie"}},
        {"a colour and the opacity",
         [](TRecRec &rec) {
             rec.KleurTitel = 0x123456;
             rec.AlphaBlend = 120;
         },
         {KleurTitel, AlphaBlend},
         {"KleurTitel", "AlphaBlend", "Versie"}},
        {"patterns",
         [](TRecRec &rec) { rec.HintSysteemLadeFormaat = "d"; },
         {HintSysteemLadeFormaat},
         {"HintSysteemLadeFormaat", "Versie"}},
    };
    for (const bool failing : {false, true}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(c.Name) + (failing ? ", store failing" : ""));
            RecordingBackend backend;
            TSettingsModel model(backend);
            model.Read(96, 1024, 768, English);
            const TRecRec before = model.Record();
            std::vector<TSettingFields> heard;
            const auto listening = model.Listen([&](TSettingFields changed) { heard.push_back(changed); });
            TRecRec edited = before;
            c.Edit(edited);
            backend.Batches.clear();
            backend.SetFailWrites(failing);

            EXPECT_EQ(model.Commit(edited), !failing);

            EXPECT_EQ(model.Record(), failing ? before : edited);
            const bool hears = !failing && !c.Changed.Empty();
            EXPECT_EQ(heard, hears ? std::vector{c.Changed} : std::vector<TSettingFields>{});
            if (!failing) {
                ASSERT_EQ(backend.Batches.size(), 1u);
                EXPECT_THAT(backend.Batches[0].Names, ElementsAreArray(c.Stored));
                EXPECT_EQ(ReadFrom(backend), edited);
            }
        }
    }
}
