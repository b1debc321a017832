// Keys and values in memory, and the file that holds them: atomic saves, failures
// that keep the previous file, damaged files moved aside.
#include "PrefsTestSupport.h"
#include "RegFile.h"
#include "RegText.h"

#include <gmock/gmock.h>

using namespace spades;
using namespace spades::test;
using ::testing::HasSubstr;

namespace {
const QString Key = QStringLiteral("HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Options");
}

// ---- TRegStore -------------------------------------------------------------------

TEST(RegStore, FindsKeysAndValuesWhateverTheLetterCase)
{
    TRegStore store;
    ASSERT_TRUE(store.SetValue(Key, MakeStringValue("Table", "OAK")));
    EXPECT_TRUE(store.HasKey(Key.toUpper()));
    const TRegValue* found = store.FindValue(Key.toLower(), "TABLE");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->Name, "Table");
    EXPECT_EQ(store.FindValue(Key, "Tables"), nullptr);
    EXPECT_EQ(store.FindValue(Key + "\\Sub", "Table"), nullptr);
}

TEST(RegStore, ReplacingAValueKeepsItsPlaceAndFirstSpelling)
{
    TRegStore store;
    store.SetValue(Key, MakeStringValue("A", "1"));
    store.SetValue(Key, MakeStringValue("B", "2"));
    store.SetValue(Key, MakeDwordValue("a", 3));
    const auto& values = store.Keys().begin()->second.Values;
    ASSERT_EQ(values.size(), 2);
    EXPECT_EQ(values[0], MakeDwordValue("A", 3));
    EXPECT_EQ(values[1], MakeStringValue("B", "2"));
}

TEST(RegStore, DeletingAKeyTakesItsSubkeysButNotItsNamesakes)
{
    TRegStore store;
    for (const char* path : {"HKEY_CURRENT_USER\\S", "HKEY_CURRENT_USER\\S\\A", "HKEY_CURRENT_USER\\S\\A\\B",
                             "HKEY_CURRENT_USER\\S\\AB", "HKEY_CURRENT_USER\\S\\A B"})
        ASSERT_TRUE(store.CreateKey(path));
    store.DeleteKey("HKEY_CURRENT_USER\\s\\a");
    EXPECT_TRUE(store.HasKey("HKEY_CURRENT_USER\\S"));
    EXPECT_FALSE(store.HasKey("HKEY_CURRENT_USER\\S\\A"));
    EXPECT_FALSE(store.HasKey("HKEY_CURRENT_USER\\S\\A\\B"));
    EXPECT_TRUE(store.HasKey("HKEY_CURRENT_USER\\S\\AB"));
    EXPECT_TRUE(store.HasKey("HKEY_CURRENT_USER\\S\\A B"));
}

TEST(RegStore, RefusesNamesThatCannotBeOneLineOfText)
{
    TRegStore store;
    EXPECT_FALSE(store.CreateKey(""));
    EXPECT_FALSE(store.CreateKey("HKEY_CURRENT_USER\\\\A"));
    EXPECT_FALSE(store.CreateKey("HKEY_CURRENT_USER\\A\\"));
    EXPECT_FALSE(store.CreateKey("HKEY_CURRENT_USER\\A\nB"));
    EXPECT_FALSE(store.SetValue(Key, MakeStringValue("two\nlines", "x")));
    EXPECT_FALSE(store.SetValue(Key, MakeStringValue(QString(QChar(0xDC00)), "x")));
    EXPECT_TRUE(store.IsEmpty());
    EXPECT_TRUE(store.SetValue(Key, MakeStringValue("tab\there", "x")));
}

TEST(RegStore, StringDataStopsAtItsFirstZero)
{
    EXPECT_EQ(TextFromRegData(Utf16LeBytes(QString("ab") + QChar(0) + "cd")), "ab");
    EXPECT_EQ(TextFromRegData(Utf16LeBytes("ab") + "c"), "ab");  // an odd last byte
    EXPECT_EQ(TextFromRegData({}), "");
    EXPECT_EQ(TextFromRegData(Utf16LeBytes(QStringLiteral("東Zoë"))), QStringLiteral("東Zoë"));
    EXPECT_EQ(DwordFromRegData(QByteArray("\x01\x00\x00\x80", 4)), std::optional<qint32>(INT32_MIN + 1));
    EXPECT_EQ(DwordFromRegData("\x01\x02"), std::nullopt);
}

// ---- TRegFile --------------------------------------------------------------------

class RegFileTest : public PrefsTest {
protected:
    TRegStore Sample(const QString& table) const
    {
        TRegStore store;
        store.SetValue(Key, MakeStringValue("Table", table));
        store.SetValue(Key, MakeDwordValue("WinScore", 250));
        return store;
    }
    TRegFile File{Config.StoreFile()};
};

TEST_F(RegFileTest, PathFollowsXdgConfigHome)
{
    EXPECT_EQ(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation), Config.Path());
    EXPECT_EQ(RegFilePathFor("\\Software\\Tarnwell\\Spades"), Config.StoreFile());
    EXPECT_EQ(RegFilePathFor("Software\\Tarnwell\\Spades"), Config.StoreFile());
    // A key name never leads out of the configuration folder.
    EXPECT_EQ(RegFilePathFor("\\Software\\..\\a/b"), Config.Path() + "/_/a_b.reg");

    const TTempConfig other;
    EXPECT_EQ(RegFilePathFor("\\Software\\Tarnwell\\Spades"), other.StoreFile());
}



TEST_F(RegFileTest, FullDiskKeepsThePreviousFileByteForByte)
{
    ASSERT_TRUE(File.Save(Sample("OAK")).Ok());
    const QByteArray before = Config.ReadStore();
    TRegFile::TStatus status;
    {
        const TFileSizeLimit limit(16);
        ASSERT_TRUE(limit.Active());
        status = File.Save(Sample("GRANITE"));
    }
    EXPECT_EQ(status.Error, TRegFile::TError::CannotWrite);
    EXPECT_FALSE(status.Detail.isEmpty());
    EXPECT_EQ(Config.ReadStore(), before);
    EXPECT_EQ(Config.FolderEntries(), QStringList{"Spades.reg"});  // no temporary file left
}

TEST_F(RegFileTest, NoFileToOpenKeepsThePreviousFile)
{
    ASSERT_TRUE(File.Save(Sample("OAK")).Ok());
    const QByteArray before = Config.ReadStore();
    TRegFile::TStatus status;
    {
        const TOpenFileLimit limit;
        ASSERT_TRUE(limit.Active());
        status = File.Save(Sample("GRANITE"));
    }
    EXPECT_EQ(status.Error, TRegFile::TError::CannotCreate);
    EXPECT_EQ(Config.ReadStore(), before);
    EXPECT_EQ(Config.FolderEntries(), QStringList{"Spades.reg"});
}




TEST_F(RegFileTest, OversizedFileIsDamaged)
{
    Config.WriteStore(QByteArray(MaxRegFileSize + 10, '\n'));
    TRegStore store;
    EXPECT_THROW(File.Load(store), ERegFileDamaged);
}

TEST_F(RegFileTest, DamagedCopiesNeverReplaceEarlierOnes)
{
    EXPECT_EQ(File.KeepDamagedCopy(), QString());  // no file, nothing to keep

    Config.WriteStore("first");
    const QString first = File.KeepDamagedCopy();
    EXPECT_EQ(first, Config.StoreFile() + ".damaged");
    EXPECT_FALSE(Config.StoreExists());

    Config.WriteStore("second");
    const QString second = File.KeepDamagedCopy();
    EXPECT_EQ(second, Config.StoreFile() + ".damaged.2");
    Config.WriteStore("third");
    EXPECT_EQ(File.KeepDamagedCopy(), Config.StoreFile() + ".damaged.3");

    EXPECT_EQ(TTempConfig::ReadFile(first), "first");
    EXPECT_EQ(TTempConfig::ReadFile(second), "second");
    EXPECT_TRUE(File.Save(Sample("OAK")).Ok());
}
