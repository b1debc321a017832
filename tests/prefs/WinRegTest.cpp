// The registry accessor over the per-user file: defaults, types, the error texts.
#include "PrefsTestSupport.h"
#include "WinReg.h"

#include <gmock/gmock.h>

using namespace spades;
using namespace spades::test;
using ::testing::HasSubstr;

namespace {
const QString Base = QStringLiteral("\\Software\\Tarnwell\\Spades");
}  // namespace

class WinRegTest : public PrefsTest {};

TEST_F(WinRegTest, EmptyStoreGivesEveryDefaultAndWritesNothing)
{
    const TWinRegistry registry(Base);
    EXPECT_EQ(registry.BaseKey(), "HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades");
    EXPECT_EQ(registry.FileName(), Config.StoreFile());
    EXPECT_EQ(registry.ReadString("Options", "Table", "GREENCLOTH"), "GREENCLOTH");
    EXPECT_EQ(registry.ReadInteger("Options", "WinScore", 250), 250);
    EXPECT_TRUE(registry.ReadBool("Options", "MusicOn", true));
    EXPECT_FALSE(registry.ReadBool("Nowhere", "MusicOn", false));
    EXPECT_FALSE(Config.StoreExists());
}

TEST_F(WinRegTest, EachWriteReachesTheFileWithItsType)
{
    {
        TWinRegistry registry(Base);
        registry.WriteString("Options", "Table", "OAK");
        EXPECT_TRUE(Config.StoreExists());
        registry.WriteInteger("Options", "WinScore", -300);
        registry.WriteBool("Options", "MusicOn", false);
        registry.WriteString("Player1", "Name", QStringLiteral("東 \"the\" \\ Zoë"));
    }
    EXPECT_EQ(Config.ReadStore(), "Windows Registry Editor Version 5.00\n\n"
                                  "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades]\n\n"
                                  "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Options]\n"
                                  "\"Table\"=\"OAK\"\n"
                                  "\"WinScore\"=dword:fffffed4\n"
                                  "\"MusicOn\"=dword:00000000\n\n"
                                  "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Player1]\n"
                                  "\"Name\"=\"東 \\\"the\\\" \\\\ Zoë\"\n\n");
    const TWinRegistry reader(Base);
    EXPECT_EQ(reader.ReadString("options", "table", ""), "OAK");
    EXPECT_EQ(reader.ReadInteger("Options", "WinScore", 0), -300);
    EXPECT_FALSE(reader.ReadBool("Options", "MusicOn", true));
    EXPECT_EQ(reader.ReadString("Player1", "Name", ""), QStringLiteral("東 \"the\" \\ Zoë"));
}

TEST_F(WinRegTest, ReadsStringsAsTheRegistryHoldsThem)
{
    Config.WriteStoreKey("Options", "\"Cut\"=hex(1):41,00,00,00,42,00\n"
                                    "\"Expand\"=hex(2):25,00,48,00,25,00,00,00\n"
                                    "\"Empty\"=\"\"\n"
                                    "\"On\"=dword:00000100\n"
                                    "\"Odd\"=hex(1):41,00,42\n");
    const TWinRegistry registry(Base);
    EXPECT_EQ(registry.ReadString("Options", "Cut", "d"), "A");
    EXPECT_EQ(registry.ReadString("Options", "Expand", "d"), "%H%");
    EXPECT_EQ(registry.ReadString("Options", "Empty", "d"), "");  // stored empty is not missing
    EXPECT_EQ(registry.ReadString("Options", "Odd", "d"), "A");
    EXPECT_TRUE(registry.ReadBool("Options", "On", false));  // any non-zero number
}

struct TWrongType {
    const char* Label;
    QByteArray Line;
    int Read;  // 0 string, 1 integer, 2 bool
};

void PrintTo(const TWrongType& c, std::ostream* os)
{
    *os << c.Label;
}

class WinRegWrongType : public PrefsTest, public ::testing::WithParamInterface<TWrongType> {};

TEST_P(WinRegWrongType, RaisesInvalidDataType)
{
    Config.WriteStoreKey("Options", GetParam().Line + "\n");
    const TWinRegistry registry(Base);
    const auto read = [&] {
        switch (GetParam().Read) {
        case 0:
            registry.ReadString("Options", "WinScore", "");
            break;
        case 1:
            registry.ReadInteger("Options", "WinScore", 0);
            break;
        default:
            registry.ReadBool("Options", "WinScore", false);
        }
    };
    EXPECT_EQ(ErrorOf(read), "Invalid data type for 'WinScore'");
}

INSTANTIATE_TEST_SUITE_P(Cases, WinRegWrongType,
                         ::testing::Values(TWrongType{"IntegerFromString", "\"WinScore\"=\"300\"", 1},
                                           TWrongType{"BoolFromString", "\"WinScore\"=\"1\"", 2},
                                           TWrongType{"IntegerFromTwoBytes", "\"WinScore\"=hex(4):2c,01", 1},
                                           TWrongType{"IntegerFromBinary", "\"WinScore\"=hex:2c,01,00,00", 1},
                                           TWrongType{"StringFromDword", "\"WinScore\"=dword:0000012c", 0},
                                           TWrongType{"StringFromMultiString", "\"WinScore\"=hex(7):41,00,00,00", 0}),
                         [](const auto& info) { return std::string(info.param.Label); });

TEST_F(WinRegTest, DamagedFileStopsTheAccessorUntilItIsMovedAside)
{
    const QByteArray damaged = "Windows Registry Editor Version 5.00\n\n"
                               "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Options]\n"
                               "\"Table\"=\"OAK\n";
    Config.WriteStore(damaged);
    QString kept;
    try {
        TWinRegistry registry(Base);
        FAIL() << "accepted";
    } catch (const ERegFileDamaged& e) {
        EXPECT_EQ(e.Text(), QStringLiteral("Damaged settings file %1, line 4: unterminated quoted text").arg(Config.StoreFile()));
        kept = TRegFile(e.FilePath()).KeepDamagedCopy();
    }
    EXPECT_EQ(TTempConfig::ReadFile(kept), damaged);
    TWinRegistry fresh(Base);
    EXPECT_EQ(fresh.ReadString("Options", "Table", "GREENCLOTH"), "GREENCLOTH");
    fresh.WriteString("Options", "Table", "GRANITE");
    EXPECT_THAT(Config.ReadStore().toStdString(), HasSubstr("\"Table\"=\"GRANITE\""));
    EXPECT_EQ(TTempConfig::ReadFile(kept), damaged);
}

TEST_F(WinRegTest, UnreadableFileFailsReadsAndRefusesWrites)
{
    ASSERT_TRUE(QDir().mkpath(Config.StoreFile()));
    TWinRegistry registry(Base);
    EXPECT_EQ(ErrorOf([&] { registry.ReadString("Player1", "Name", ""); }), "Failed to get data for 'Name'");
    EXPECT_EQ(ErrorOf([&] { registry.ReadInteger("Options", "WinScore", 1); }), "Failed to get data for 'WinScore'");
    EXPECT_EQ(ErrorOf([&] { registry.WriteString("Player1", "Name", "x"); }), "Failed to set data for 'Name'");
    EXPECT_TRUE(QFileInfo(Config.StoreFile()).isDir());
}

TEST_F(WinRegTest, UncreatableFolderFailsToCreateTheKey)
{
    BlockStoreFolder(Config);
    TWinRegistry registry(Base);
    try {
        registry.WriteString("Options", "Table", "OAK");
        FAIL() << "written";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Text(), "Failed to create key Options");
        EXPECT_THAT(e.Detail().toStdString(), HasSubstr("Tarnwell"));
    }
    // The failed write is not kept in memory either.
    EXPECT_EQ(registry.ReadString("Options", "Table", "none"), "none");
}

TEST_F(WinRegTest, FullDiskFailsToSetDataAndKeepsThePreviousFile)
{
    TWinRegistry registry(Base);
    registry.WriteString("Options", "Table", "OAK");
    const QByteArray before = Config.ReadStore();
    std::exception_ptr error;
    {
        const TFileSizeLimit limit(16);
        error = Capture([&] { registry.WriteString("Options", "Table", "GRANITE"); });
    }
    EXPECT_EQ(ErrorText(error), "Failed to set data for 'Table'");
    EXPECT_EQ(Config.ReadStore(), before);
    EXPECT_EQ(registry.ReadString("Options", "Table", ""), "OAK");
}

TEST_F(WinRegTest, NoNewFileFailsToCreateTheKeyAndKeepsThePreviousFile)
{
    TWinRegistry registry(Base);
    registry.WriteString("Options", "Table", "OAK");
    const QByteArray before = Config.ReadStore();
    std::exception_ptr error;
    {
        const TOpenFileLimit limit;
        error = Capture([&] { registry.WriteString("Options", "Table", "GRANITE"); });
    }
    EXPECT_EQ(ErrorText(error), "Failed to create key Options");
    EXPECT_EQ(Config.ReadStore(), before);
}

TEST_F(WinRegTest, InvalidSectionReadsTheDefaultAndCannotBeWritten)
{
    TWinRegistry registry(Base);
    EXPECT_EQ(registry.ReadString("a\\\\b", "x", "d"), "d");
    EXPECT_EQ(ErrorOf([&] { registry.WriteString("a\\\\b", "x", "v"); }), "Failed to create key a\\\\b");
    EXPECT_EQ(ErrorOf([&] { registry.WriteString("Options", "two\nlines", "v"); }),
              "Failed to set data for 'two\nlines'");
    EXPECT_FALSE(Config.StoreExists());
}

TEST_F(WinRegTest, CommitModeWritesOnceAndDropsWhatWasNotCommitted)
{
    {
        TWinRegistry registry(Base, TWinRegistry::TCommitMode::OnCommit);
        registry.WriteString("Options", "Table", "OAK");
        EXPECT_TRUE(registry.HasPendingWrites());
        EXPECT_EQ(registry.ReadString("Options", "Table", ""), "OAK");
        EXPECT_FALSE(Config.StoreExists());
        registry.Commit();
        EXPECT_FALSE(registry.HasPendingWrites());
    }
    const QByteArray committed = Config.ReadStore();
    EXPECT_THAT(committed.toStdString(), HasSubstr("\"Table\"=\"OAK\""));
    {
        TWinRegistry registry(Base, TWinRegistry::TCommitMode::OnCommit);
        registry.WriteString("Options", "Table", "GRANITE");
    }
    EXPECT_EQ(Config.ReadStore(), committed);
}

TEST_F(WinRegTest, CommitErrorsNameTheFirstWaitingWrite)
{
    BlockStoreFolder(Config);
    TWinRegistry registry(Base, TWinRegistry::TCommitMode::OnCommit);
    registry.WriteString("Player3", "Name", "Zoë");
    registry.WriteString("Options", "Table", "OAK");
    EXPECT_EQ(ErrorOf([&] { registry.Commit(); }), "Failed to create key Player3");
    EXPECT_TRUE(registry.HasPendingWrites());
}

TEST_F(WinRegTest, KeepsWhatAHandEditedFileHoldsBesideOurValues)
{
    Config.WriteStore("Windows Registry Editor Version 5.00\n\n"
                      "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Options]\n"
                      "\"Table\"=\"OAK\"\n"
                      "\"Notes\"=hex(7):41,00,00,00,00,00\n"
                      "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Options\\Extra]\n"
                      "@=\"mine\"\n");
    TWinRegistry registry(Base);
    registry.WriteString("Options", "Table", "GRANITE");
    EXPECT_EQ(Config.ReadStore(), "Windows Registry Editor Version 5.00\n\n"
                                  "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades]\n\n"
                                  "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Options]\n"
                                  "\"Table\"=\"GRANITE\"\n"
                                  "\"Notes\"=hex(7):41,00,00,00,00,00\n\n"
                                  "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Options\\Extra]\n"
                                  "@=\"mine\"\n\n");
}
