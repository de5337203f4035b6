#include "settings/Registry.h"
#include "settings/StoreTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace storetest;
using ::testing::ElementsAre;

TEST(Registry, OpeningAMissingKeyWithoutCreatingFailsAndKeepsTheOpenKey)
{
    TMemoryRegistryBackend backend;
    TRegistry reg(backend);
    ASSERT_TRUE(reg.OpenKey("Software", true));
    EXPECT_FALSE(reg.OpenKey("KX", false));
    EXPECT_EQ(reg.CurrentPath(), "Software");
}

TEST(Registry, PathsAreRelativeToTheOpenKeyUnlessTheyStartWithABackslash)
{
    TMemoryRegistryBackend backend;
    TRegistry reg(backend);
    ASSERT_TRUE(reg.OpenKey("Software\\\\KX\\", true));
    ASSERT_TRUE(reg.OpenKey("Orvani", true));
    EXPECT_EQ(reg.CurrentPath(), "Software\\KX\\Orvani");
    ASSERT_TRUE(reg.OpenKey("\\Software", false));
    EXPECT_EQ(reg.CurrentPath(), "Software");
    EXPECT_TRUE(reg.CloseKey());
    EXPECT_EQ(reg.CurrentPath(), "");
}

TEST(Registry, CreatingNestedKeysAndWritingIsOneBatch)
{
    RecordingBackend backend;
    {
        TRegistry reg(backend);
        ASSERT_TRUE(reg.OpenKey("Software", true));
        ASSERT_TRUE(reg.OpenKey("KX\\Orvani", true));
        ASSERT_TRUE(reg.OpenKey("Algemeen", true));
        reg.WriteInteger("A", 1);
        reg.WriteString("B", "two");
        reg.WriteInteger("a", 3); // the same value: written once, last value kept
        EXPECT_TRUE(backend.Batches.empty());
        EXPECT_EQ(reg.ReadInteger("A"), 3);
        EXPECT_EQ(reg.GetDataType("b"), TRegDataType::rdString);
    } // destruction stores the batch
    ASSERT_EQ(backend.Batches.size(), 1u);
    EXPECT_EQ(backend.Batches[0].Path, AlgemeenKey);
    EXPECT_THAT(backend.Batches[0].Names, ElementsAre("A", "B"));
    EXPECT_EQ(*backend.Document().Find(AlgemeenKey, "A"), TRegValue::Integer(3));
    EXPECT_TRUE(backend.Document().KeyExists(OrvaniKey));
}

TEST(Registry, AnEmptyNewKeyIsStillCreated)
{
    TMemoryRegistryBackend backend;
    TRegistry reg(backend);
    ASSERT_TRUE(reg.OpenKey("Software\\KX", true));
    EXPECT_TRUE(reg.CloseKey());
    EXPECT_TRUE(backend.KeyExists("HKEY_CURRENT_USER\\Software\\KX"));
}

TEST(Registry, ReadsCheckTheKind)
{
    TMemoryRegistryBackend backend;
    backend.Commit(OrvaniKey, {{"Int", TRegValue::Integer(0xFFFFFFFF)},
                               {"Text", TRegValue::String("x")},
                               {"Expand", TRegValue{TRegDataType::rdExpandString, 0, "x"}}});
    TRegistry reg(backend);
    ASSERT_TRUE(reg.OpenKey("Software\\KX\\Orvani", false));

    EXPECT_EQ(reg.ReadInteger("int"), -1);
    EXPECT_TRUE(reg.ReadBool("Int"));
    EXPECT_EQ(reg.ReadString("TEXT"), "x");
    EXPECT_TRUE(reg.ValueExists("Expand"));
    EXPECT_FALSE(reg.ValueExists("Missing"));
    EXPECT_EQ(reg.GetDataType("Missing"), TRegDataType::rdUnknown);
    EXPECT_THROW(reg.ReadInteger("Text"), ERegistryException);
    EXPECT_THROW(reg.ReadString("Int"), ERegistryException);
    EXPECT_THROW(reg.ReadString("Expand"), ERegistryException);
    EXPECT_THROW(reg.ReadInteger("Missing"), ERegistryException);
}

TEST(Registry, AStoreThatCannotBeWrittenRefusesNewKeysAndWrites)
{
    TMemoryRegistryBackend backend;
    backend.Commit(OrvaniKey, {});
    backend.SetFailWrites(true);
    TRegistry reg(backend);

    EXPECT_FALSE(reg.OpenKey("Software\\KX\\Orvani\\Algemeen", true));
    ASSERT_TRUE(reg.OpenKey("Software\\KX\\Orvani", true));
    EXPECT_THROW(reg.WriteInteger("A", 1), ERegistryException);
    EXPECT_THROW(reg.WriteString("B", "b"), ERegistryException);
    EXPECT_TRUE(reg.CloseKey()); // nothing was pending
}

TEST(Registry, CloseKeyReportsABatchThatCouldNotBeStored)
{
    TMemoryRegistryBackend backend;
    TRegistry reg(backend);
    ASSERT_TRUE(reg.OpenKey("Software", true));
    reg.WriteInteger("A", 1);
    backend.SetFailWrites(true);
    EXPECT_FALSE(reg.CloseKey());
    EXPECT_FALSE(backend.KeyExists("HKEY_CURRENT_USER\\Software"));
}

TEST(Registry, NamesThatTheStoreCannotHoldAreRefused)
{
    TMemoryRegistryBackend backend;
    TRegistry reg(backend);
    EXPECT_FALSE(reg.OpenKey("Soft\nware", true));
    EXPECT_FALSE(reg.OpenKey(" Software", true));
    EXPECT_FALSE(reg.OpenKey("Software ", true));
    ASSERT_TRUE(reg.OpenKey("Software", true));
    EXPECT_THROW(reg.WriteInteger("line\nbreak", 1), ERegistryException);
}
