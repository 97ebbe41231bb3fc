#include "shell/SettingsStore.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { QFile::remove(store.filePath()); }

    SettingsStore store{TestFiles::scratchPath("store-test.ini")};
};

TEST_F(SettingsStoreTest, ValuesKeepTheirType)
{
    store.writeDword("NetRes", "Ping", 1);
    store.writeDword("NetRes", "Big", 0xFFFFFFFF);
    store.writeString("NetRes", "DefaultGate", "10.77.0.1");
    store.writeString("NetRes", "Tricky", "dword:00000001");
    store.writeString("ENV_SET\\RESEARCH", "ACCOUNT", QStringLiteral("調査用"));

    quint32 dword = 7;
    QString text = "unchanged";
    EXPECT_TRUE(store.readDword("NetRes", "Ping", dword));
    EXPECT_EQ(dword, 1u);
    EXPECT_TRUE(store.readDword("NetRes", "Big", dword));
    EXPECT_EQ(dword, 0xFFFFFFFFu);
    EXPECT_TRUE(store.readString("NetRes", "Tricky", text));
    EXPECT_EQ(text, "dword:00000001");
    EXPECT_TRUE(store.readString("ENV_SET\\RESEARCH", "ACCOUNT", text));
    EXPECT_EQ(text, QStringLiteral("調査用"));

    // A value of the other type reads as not found and leaves the caller's value.
    dword = 42;
    EXPECT_FALSE(store.readDword("NetRes", "DefaultGate", dword));
    EXPECT_EQ(dword, 42u);
    text = "kept";
    EXPECT_FALSE(store.readString("NetRes", "Ping", text));
    EXPECT_EQ(text, "kept");
    EXPECT_FALSE(store.readDword("Missing\\Key", "Nothing", dword));
    EXPECT_EQ(dword, 42u);
}

TEST_F(SettingsStoreTest, StringsLongerThanTheReadBufferReadAsNotFound)
{
    store.writeString("NetRes", "Fits", QString(511, QChar(0x3042)));
    store.writeString("NetRes", "TooLong", QString(512, 'x'));
    QString text;
    EXPECT_TRUE(store.readString("NetRes", "Fits", text));
    EXPECT_EQ(text.size(), 511);
    text = "kept";
    EXPECT_FALSE(store.readString("NetRes", "TooLong", text));
    EXPECT_EQ(text, "kept");
}

TEST_F(SettingsStoreTest, CountedListIsRewrittenWhole)
{
    store.writeCountedList("NetRes\\COMMUNITY", {"a", "b", "c", "d", "e"});
    store.writeCountedList("NetRes\\COMMUNITY", {"public", "private"});
    EXPECT_EQ(store.readCountedList("NetRes\\COMMUNITY"), (QStringList{"public", "private"}));
    QSettings raw(store.filePath(), QSettings::IniFormat);
    raw.beginGroup("NetRes/COMMUNITY");
    QStringList keys = raw.childKeys();
    keys.sort();
    EXPECT_EQ(keys, (QStringList{"0", "1", "COUNT"}));

    store.writeCountedList("NetRes\\COMMUNITY", {});
    EXPECT_TRUE(store.readCountedList("NetRes\\COMMUNITY").isEmpty());
}

TEST_F(SettingsStoreTest, ListReadingStopsAtTheFirstMissingEntry)
{
    store.writeDword("NetRes\\NET_PRINTER", "COUNT", 3);
    store.writeString("NetRes\\NET_PRINTER", "0", "10.77.0.5");
    store.writeString("NetRes\\NET_PRINTER", "2", "10.77.0.7");
    EXPECT_EQ(store.readCountedList("NetRes\\NET_PRINTER"), QStringList{"10.77.0.5"});

    store.writeUncountedList("List_Del", {"OS", "CPU", "HDD"});
    store.writeString("List_Del", "5", "orphan");
    EXPECT_EQ(store.readUncountedList("List_Del"), (QStringList{"OS", "CPU", "HDD"}));
    store.writeUncountedList("List_Del", {"MAC"});
    EXPECT_EQ(store.readUncountedList("List_Del"), QStringList{"MAC"});
}

TEST(SettingsStoreLocation, FollowsTheEnvironment)
{
    EXPECT_EQ(SettingsStore::defaultFilePath(), qEnvironmentVariable("VARNEX_SETTINGS"));
}

} // namespace
