#include "settings/FileRegistryBackend.h"
#include "settings/Settings.h"
#include "settings/StoreTestSupport.h"

#include <gtest/gtest.h>

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
    ScopedEnv(const char *name, const char *value) : name_(name)
    {
        if (const char *old = std::getenv(name)) {
            old_ = old;
        }
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

private:
    const char *name_;
    std::optional<std::string> old_;
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
    EXPECT_FALSE(fs::exists(folder.StorePath() + ".bad"));
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
        WriteText(folder.StorePath(), c.Content);
        TFileRegistryBackend backend(folder.StorePath());

        const TRecRec rec = ReadFrom(backend);

        EXPECT_EQ(rec.KleurTitel, c.KleurTitel) << c.What;
        EXPECT_EQ(rec.Lettertype, "Arial") << c.What;
        EXPECT_EQ(ReadText(folder.StorePath() + ".bad"), c.Content) << c.What;
        EXPECT_FALSE(ParseRegText(ReadText(folder.StorePath())).Damaged) << c.What;
    }
}

TEST(FileRegistryBackend, AHugeFileIsNeverReadAndIsKeptAside)
{
    TempFolder folder;
    WriteText(folder.StorePath(), "Windows Registry Editor Version 5.00\n");
    fs::resize_file(folder.StorePath(), 100u << 20); // sparse: no disk space used
    TFileRegistryBackend backend(folder.StorePath());

    EXPECT_EQ(ReadFrom(backend).Lettergrootte, 9);

    EXPECT_EQ(fs::file_size(folder.StorePath() + ".bad"), 100u << 20);
    EXPECT_LT(fs::file_size(folder.StorePath()), 4096u);
}

TEST(FileRegistryBackend, AStoreThatIsNoFileDoesNotStallTheReader)
{
    TempFolder folder;
    fs::create_directories(folder.Path() / "KX");
    ASSERT_EQ(mkfifo(folder.StorePath().c_str(), 0600), 0); // opening a pipe for reading would block
    TFileRegistryBackend backend(folder.StorePath());

    EXPECT_EQ(ReadFrom(backend).AlphaBlend, 250);
    EXPECT_TRUE(fs::is_fifo(folder.StorePath() + ".bad"));
    EXPECT_TRUE(fs::is_regular_file(folder.StorePath()));
}

TEST(FileRegistryBackend, AStoreThatCannotBeCreatedGivesTheFallbacks)
{
    TempFolder folder;
    WriteText(folder.Path() / "KX", "a file where the folder should be");
    TFileRegistryBackend backend(folder.StorePath());

    const TRecRec rec = ReadFrom(backend);

    EXPECT_EQ(rec.Lettertype, "");
    EXPECT_EQ(rec.Breedte, 0);
    EXPECT_TRUE(rec.StatusTonen && rec.Vandaag);
    EXPECT_FALSE(WritePositie(backend, 1, 2, 3, 4, true));
}
