#include "settings/FileRegistryBackend.h"
#include "settings/Settings.h"
#include "settings/StoreTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <functional>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace storetest;
namespace fs = std::filesystem;

namespace {

// Sets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const char *value) : FName(name)
    {
        if (const char *old = std::getenv(name)) {
            FOld = old;
        }
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { FOld ? setenv(FName, FOld->c_str(), 1) : unsetenv(FName); }

private:
    const char *FName;
    std::optional<std::string> FOld;
};

TRecRec ReadFrom(TRegistryBackend &backend)
{
    TRecRec rec;
    ReadSettings(rec, backend, 96, 1024, 768, 0x0409);
    return rec;
}

void WriteValues(const std::string &store, const std::vector<TRegChange> &values)
{
    TFileRegistryBackend backend(store);
    ASSERT_TRUE(backend.Commit(OrvaniKey, values));
}

std::optional<TRegValue> ValueIn(const std::string &store, const std::string &name)
{
    return TFileRegistryBackend(store).ReadValue(OrvaniKey, name);
}

// The damaged copies kept beside the store, by name.
std::vector<std::string> KeptCopies(const std::string &store)
{
    std::vector<std::string> copies;
    const std::string prefix = fs::path(store).filename().string() + ".damaged-";
    for (const auto &entry : fs::directory_iterator(fs::path(store).parent_path())) {
        if (entry.path().filename().string().rfind(prefix, 0) == 0) {
            copies.push_back(entry.path().string());
        }
    }
    std::sort(copies.begin(), copies.end());
    return copies;
}

// A file backend whose reports are kept.
struct ReportingBackend {
    explicit ReportingBackend(const std::string &store)
        : Backend(store, [this](const std::string &line) { Lines.push_back(line); })
    {
    }
    std::vector<std::string> Lines;
    TFileRegistryBackend Backend;
};

const std::string SomeSettings = "Windows Registry Editor Version 5.00\n\n"
                                 "[HKEY_CURRENT_USER\\Software\\KX\\Orvani\\Algemeen]\n"
                                 "\"Lettergrootte\"=dword:0000000c\n";

} // namespace

TEST(DefaultSettingsPath, FollowsXdgConfigHome)
{
    const ScopedEnv home("HOME", "/home/someone");
    {
        const ScopedEnv config("XDG_CONFIG_HOME", "/tmp/config");
        EXPECT_EQ(DefaultSettingsPath(), "/tmp/config/KX/Orvani.reg");
    }
    for (const char *unusable : {static_cast<const char *>(nullptr), "", "relative/config"}) {
        const ScopedEnv config("XDG_CONFIG_HOME", unusable);
        EXPECT_EQ(DefaultSettingsPath(), "/home/someone/.config/KX/Orvani.reg");
    }
}

TEST(FileRegistryBackend, TextsRoundTripThroughTheFile)
{
    TempFolder folder;
    const std::string texts[] = {"say \"hi\"", "C:\\Program Files\\",
                                 "Zo\xC3\xAB \xE2\x82\xAC \xF0\x9F\x98\x80", "two\nlines", ""};
    {
        TFileRegistryBackend backend(folder.StorePath());
        TRegistry reg(backend);
        ASSERT_TRUE(RegOpenSoftwareKey(reg, "KX\\Orvani"));
        for (std::size_t i = 0; i < std::size(texts); ++i) {
            reg.WriteString("t" + std::to_string(i), texts[i]);
        }
        ASSERT_TRUE(reg.CloseKey());
    }
    const std::string text = ReadText(folder.StorePath());
    EXPECT_NE(text.find("\"t0\"=\"say \\\"hi\\\"\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"t1\"=\"C:\\\\Program Files\\\\\"\n"), std::string::npos) << text;
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        EXPECT_EQ(ValueIn(folder.StorePath(), "t" + std::to_string(i)), TRegValue::String(texts[i])) << i;
    }
    EXPECT_FALSE(fs::exists(folder.StorePath() + ".tmp"));
    EXPECT_TRUE(KeptCopies(folder.StorePath()).empty());
    EXPECT_EQ(fs::status(folder.StorePath()).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST(FileRegistryBackend, AWriteKeepsValuesAnotherInstanceStoredMeanwhile)
{
    TempFolder folder;
    TFileRegistryBackend first(folder.StorePath());
    EXPECT_FALSE(first.ReadValue(OrvaniKey, "Other").has_value()); // read before the other write

    WriteValues(folder.StorePath(), {{"Other", TRegValue::Integer(2)}});
    ASSERT_TRUE(first.Commit(OrvaniKey, {{"Mine", TRegValue::Integer(1)}}));

    EXPECT_EQ(ValueIn(folder.StorePath(), "Other"), TRegValue::Integer(2));
    EXPECT_EQ(ValueIn(folder.StorePath(), "Mine"), TRegValue::Integer(1));
}

TEST(FileRegistryBackend, TwoProcessesWritingAtOnceBothKeepTheirValues)
{
    TempFolder folder;
    constexpr int Writes = 25;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const auto writeAll = [&](const char *prefix) {
        TFileRegistryBackend backend(folder.StorePath());
        bool stored = true;
        for (int i = 0; i < Writes; ++i) {
            stored =
                backend.Commit(OrvaniKey, {{prefix + std::to_string(i), TRegValue::Integer(i)}}) && stored;
        }
        return stored;
    };

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        char go = 0;
        const bool started = read(ready[0], &go, 1) == 1;
        _exit(started && writeAll("child") ? 0 : 1);
    }
    ASSERT_EQ(write(ready[1], "x", 1), 1); // both start together
    const bool parentStored = writeAll("parent");
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    close(ready[0]);
    close(ready[1]);

    EXPECT_TRUE(parentStored);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const std::string store = folder.StorePath();
    for (int i = 0; i < Writes; ++i) {
        EXPECT_EQ(ValueIn(store, "parent" + std::to_string(i)), TRegValue::Integer(i)) << i;
        EXPECT_EQ(ValueIn(store, "child" + std::to_string(i)), TRegValue::Integer(i)) << i;
    }
}

TEST(FileRegistryBackend, DamagedFilesAreKeptAsideAndReplaced)
{
    const std::string cutOff = "Windows Registry Editor Version 5.00\n\n"
                               "[HKEY_CURRENT_USER\\Software\\KX\\Orvani\\Algemeen]\n"
                               "\"KleurTitel\"=dword:000000ff\n"
                               "\"Lettertype\"=\"Ar";
    std::string binary;
    for (int i = 0; i < 4096; ++i) {
        binary += static_cast<char>((i * 167 + 13) % 256);
    }
    struct Case {
        const char *What;
        std::string Content;
        std::uint32_t KleurTitel; // what survives from the damaged file
    };
    for (const Case &c : {Case{"cut off mid-line", cutOff, 0xFF}, Case{"binary", binary, 0xFFFFFF}}) {
        TempFolder folder;
        const std::string store = folder.StorePath();
        std::vector<std::string> kept;
        for (int start = 1; start <= 2; ++start) { // the second damaged start keeps the first copy
            WriteText(store, c.Content);
            ReportingBackend reporting(store);

            const TRecRec rec = ReadFrom(reporting.Backend);

            EXPECT_EQ(rec.KleurTitel, c.KleurTitel) << c.What;
            EXPECT_EQ(rec.Lettertype, "Arial") << c.What;
            kept = KeptCopies(store);
            ASSERT_EQ(kept.size(), static_cast<std::size_t>(start)) << c.What;
            EXPECT_NE(std::find(kept.begin(), kept.end(), reporting.Backend.KeptDamagedCopy()), kept.end());
            ASSERT_EQ(reporting.Lines.size(), 1u) << c.What;
            EXPECT_NE(reporting.Lines[0].find(reporting.Backend.KeptDamagedCopy()), std::string::npos);
            EXPECT_FALSE(ParseRegText(ReadText(store)).Damaged) << c.What;
        }
        for (const std::string &copy : kept) {
            EXPECT_EQ(ReadText(copy), c.Content) << c.What;
        }
    }
}

// Beyond a few megabytes a store holds no settings this program wrote, but what can be read of
// it stays: all of it within the limits, the part before what is too long, or too much.
TEST(FileRegistryBackend, ALargeFileKeepsWhatCanBeRead)
{
    std::string manyValues = SomeSettings;
    for (int i = 0; manyValues.size() <= (9u << 19); ++i) {
        manyValues += "\"Extra" + std::to_string(i) + "\"=\"" + std::string(60000, 'x') + "\"\n";
    }
    struct Case {
        const char *What;
        std::string Content;
        std::uintmax_t Size; // the file's size, made sparse beyond the content
        bool Damaged;
    };
    const Case cases[] = {
        {"4.5 MB of values", manyValues, manyValues.size(), false},
        {"junk appended", SomeSettings + std::string(9u << 19, 'x') + "\n", 0, true},
        {"larger than what is read", SomeSettings, 100u << 20, true},
    };
    for (const Case &c : cases) {
        TempFolder folder;
        WriteText(folder.StorePath(), c.Content);
        fs::resize_file(folder.StorePath(), std::max<std::uintmax_t>(c.Size, c.Content.size()));
        TFileRegistryBackend backend(folder.StorePath(), [](const std::string &) {});

        EXPECT_EQ(ReadFrom(backend).Lettergrootte, 12) << c.What;

        ASSERT_EQ(KeptCopies(folder.StorePath()).size(), c.Damaged ? 1u : 0u) << c.What;
        EXPECT_EQ(TFileRegistryBackend(folder.StorePath()).ReadValue(AlgemeenKey, "Extra0").has_value(), !c.Damaged)
            << c.What;
    }
}

TEST(FileRegistryBackend, AStoreThatIsNoFileDoesNotStallTheReader)
{
    TempFolder folder;
    fs::create_directories(folder.Path() / "KX");
    ASSERT_EQ(mkfifo(folder.StorePath().c_str(), 0600), 0); // opening a pipe for reading would block
    TFileRegistryBackend backend(folder.StorePath());

    EXPECT_EQ(ReadFrom(backend).AlphaBlend, 250);
    ASSERT_EQ(KeptCopies(folder.StorePath()).size(), 1u);
    EXPECT_TRUE(fs::is_fifo(KeptCopies(folder.StorePath())[0]));
    EXPECT_TRUE(fs::is_regular_file(folder.StorePath()));
}

// A store that cannot be written starts the program as a first start would, stores nothing and
// says so once. A read-only folder is not made writable by a lock file left in it.
TEST(FileRegistryBackend, AStoreThatCannotBeWrittenGivesTheDefaults)
{
    TMemoryRegistryBackend memory;
    const TRecRec firstStart = ReadFrom(memory);
    const auto fileInFolderPlace = [](const TempFolder &folder) {
        WriteText(folder.Path() / "KX", "a file where the folder should be");
    };
    const auto readOnlyFolderWithLock = [](const TempFolder &folder) {
        WriteText(folder.Path() / "KX" / "Orvani.reg.lock", "");
        fs::permissions(folder.Path() / "KX", fs::perms::owner_read | fs::perms::owner_exec);
    };
    for (const auto &prepare :
         std::vector<std::function<void(const TempFolder &)>>{fileInFolderPlace, readOnlyFolderWithLock}) {
        TempFolder folder;
        prepare(folder);
        ReportingBackend reporting(folder.StorePath());

        EXPECT_EQ(ReadFrom(reporting.Backend), firstStart);
        EXPECT_FALSE(WritePositie(reporting.Backend, 1, 2, 3, 4, true));

        EXPECT_FALSE(fs::exists(folder.StorePath()));
        EXPECT_EQ(reporting.Lines.size(), 1u);
    }
}

// A read-only store is read and never replaced, and says so once.
TEST(FileRegistryBackend, AReadOnlyStoreIsReadAndKept)
{
    TempFolder folder;
    const std::string store = folder.StorePath();
    WriteText(store, SomeSettings);
    fs::permissions(store, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    ReportingBackend reporting(store);

    EXPECT_EQ(ReadFrom(reporting.Backend).Lettergrootte, 12);
    EXPECT_FALSE(WritePositie(reporting.Backend, 1, 2, 3, 4, true));

    EXPECT_EQ(ReadText(store), SomeSettings);
    EXPECT_EQ(fs::status(store).permissions(),
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    ASSERT_EQ(reporting.Lines.size(), 1u);
    EXPECT_NE(reporting.Lines[0].find("read-only"), std::string::npos);
}

// A store that is a symbolic link stays one: the write goes to its target, in the target's folder,
// under a lock beside the target, with the target's mode; a temporary file a crash left there is
// gone after the write.
TEST(FileRegistryBackend, WritesThroughASymbolicLink)
{
    TempFolder folder;
    const fs::path target = folder.Path() / "dotfiles" / "Orvani.reg";
    WriteText(target, SomeSettings);
    const auto readable =
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(target, readable);
    WriteText(target.string() + ".tmp", "left by a crash");
    fs::create_directories(folder.Path() / "KX");
    fs::create_symlink("../dotfiles/Orvani.reg", folder.StorePath());
    TFileRegistryBackend backend(folder.StorePath());

    EXPECT_EQ(ReadFrom(backend).Lettergrootte, 12);
    ASSERT_TRUE(WritePositie(backend, 1, 2, 3, 4, true));

    EXPECT_TRUE(fs::is_symlink(folder.StorePath()));
    EXPECT_EQ(TFileRegistryBackend(target.string()).ReadValue(PositieKey, "Links"), TRegValue::Integer(2));
    EXPECT_FALSE(fs::exists(target.string() + ".tmp"));
    EXPECT_EQ(fs::status(target).permissions(), readable);
    EXPECT_TRUE(fs::exists(target.string() + ".lock"));
    EXPECT_FALSE(fs::exists(folder.StorePath() + ".lock"));
}

// A store another user owns, or one without read permission, is not damaged: it is left as it
// is, the defaults are used, nothing is written, and standard error says why.
TEST(FileRegistryBackend, AnUnreadableStoreIsLeftAlone)
{
    TempFolder folder;
    const std::string store = folder.StorePath();
    WriteText(store, SomeSettings);
    fs::permissions(folder.Path(), fs::perms::all);
    fs::permissions(folder.Path() / "KX", fs::perms::all);
    fs::permissions(store, fs::perms::owner_write);
    TMemoryRegistryBackend memory;
    const TRecRec firstStart = ReadFrom(memory);

    // The administrator reads any file, so the check runs as nobody there.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(2);
        }
        ReportingBackend reporting(store);
        const bool defaults = ReadFrom(reporting.Backend) == firstStart;
        const bool refused = !WritePositie(reporting.Backend, 1, 2, 3, 4, true);
        const bool said =
            reporting.Lines.size() == 1 && reporting.Lines[0].find("cannot read") != std::string::npos;
        _exit(defaults && refused && said ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadText(store), SomeSettings);
    EXPECT_TRUE(KeptCopies(store).empty());
}

// Killed at any moment while it repairs a damaged store, a writer leaves a store that reads:
// the damaged one, or its repair. Up to each kill the store is watched: it is never missing.
TEST(FileRegistryBackend, AKillWhileRepairingNeverLeavesNoStore)
{
    TempFolder folder;
    const std::string store = folder.StorePath();
    const std::string damaged = SomeSettings + "damage\n";
    WriteText(store, damaged);
    std::srand(1);
    // A count of kills, not a time: a busy machine forks slowly.
    constexpr int Kills = 25;
    int kills = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (kills < Kills && std::chrono::steady_clock::now() < end) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            while (true) {
                TFileRegistryBackend(store, [](const std::string &) {}).RepairDamage();
                WriteOutputFile(store, damaged);
            }
        }
        // Until the kill, watch for a moment without a store.
        const auto killAt = std::chrono::steady_clock::now() + std::chrono::microseconds(std::rand() % 30000);
        bool gap = false;
        while (std::chrono::steady_clock::now() < killAt) {
            gap = gap || access(store.c_str(), F_OK) != 0;
        }
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        ++kills;
        ASSERT_FALSE(gap) << "after " << kills << " kills";
        ASSERT_TRUE(fs::is_regular_file(store)) << "after " << kills << " kills";
        const std::string text = ReadText(store);
        ASSERT_TRUE(text == damaged || !ParseRegText(text).Damaged) << "after " << kills << " kills";
        ASSERT_EQ(TFileRegistryBackend(store).ReadValue(AlgemeenKey, "Lettergrootte"),
                  TRegValue::Integer(12));
    }
    EXPECT_EQ(kills, Kills);
}
