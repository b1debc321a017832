// The .reg text: what the parser accepts, what it refuses and where, and the
// exact text the writer makes.
#include "RegText.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <random>

using namespace spades;
using ::testing::HasSubstr;

namespace {

const QString SpadesKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades");

QByteArray Utf16File(const QString& text)
{
    return QByteArray("\xFF\xFE", 2) + Utf16LeBytes(text);
}

const TRegValue& ValueOf(const TRegStore& store, const QString& key, const QString& name)
{
    static const TRegValue missing{QStringLiteral("<missing>"), TRegType::None, {}};
    const TRegValue* value = store.FindValue(key, name);
    return value ? *value : missing;
}

// Anything the parser accepts must survive writing and reading back unchanged.
void ExpectRoundTrip(const TRegStore& store)
{
    const QByteArray text = FormatRegText(store);
    TRegStore again;
    try {
        again = ParseRegText(text, QStringLiteral("written.reg"));
    } catch (const ERegFileDamaged& e) {
        FAIL() << "cannot read back what was written: " << e.what() << "\n" << text.toStdString();
    }
    EXPECT_EQ(again, store) << text.toStdString();
    EXPECT_EQ(FormatRegText(again), text);
}

const QByteArray Export =
    "Windows Registry Editor Version 5.00\n"
    "\n"
    "; kept by hand\n"
    "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades]\n"
    "\n"
    "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Options]\n"
    "\"Table\"=\"GREENCLOTH\"\n"
    "\"Card Back\"=dword:00000007\n"
    "@=\"default\"\n"
    "\"Quote\"=\"say \\\"hi\\\" \\\\ bye\"\n"
    "\"Path\"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,2f,00,\\\n"
    "  6d,00,00,00\n"
    "\"Blob\"=hex:de,ad,BE,EF\n"
    "\"Multi\"=hex(7):61,00,00,00,00,00\n"
    "\"Spaced\" = \"x\"  \n"
    "\"Empty\"=\"\"\n"
    "\n"
    "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Player2]\n"
    "\"Name\"=\"Zoë\"\n"
    "\"Type\"=DWORD:ffffffff\n";

}  // namespace

TEST(RegTextParse, ReadsEveryFormOfAnExport)
{
    const TRegStore store = ParseRegText(Export, QStringLiteral("test.reg"));
    const QString options = SpadesKey + QStringLiteral("\\Options");
    const QString player = SpadesKey + QStringLiteral("\\Player2");

    EXPECT_TRUE(store.HasKey(SpadesKey));
    EXPECT_EQ(store.Keys().size(), 3u);
    EXPECT_EQ(ValueOf(store, options, "Table"), MakeStringValue("Table", "GREENCLOTH"));
    EXPECT_EQ(ValueOf(store, options, "Card Back"), MakeDwordValue("Card Back", 7));
    EXPECT_EQ(ValueOf(store, options, ""), MakeStringValue("", "default"));
    EXPECT_EQ(TextFromRegData(ValueOf(store, options, "Quote").Data), "say \"hi\" \\ bye");
    const TRegValue& path = ValueOf(store, options, "Path");
    EXPECT_EQ(path.Type, TRegType::ExpandSz);
    EXPECT_EQ(TextFromRegData(path.Data), "%HOME%/m");
    EXPECT_EQ(path.Data.size(), 18);
    EXPECT_EQ(ValueOf(store, options, "Blob"), (TRegValue{"Blob", TRegType::Binary, QByteArray("\xde\xad\xbe\xef")}));
    EXPECT_EQ(static_cast<quint32>(ValueOf(store, options, "Multi").Type), 7u);
    EXPECT_EQ(ValueOf(store, options, "Spaced"), MakeStringValue("Spaced", "x"));
    EXPECT_EQ(ValueOf(store, options, "Empty"), MakeStringValue("Empty", ""));
    EXPECT_EQ(ValueOf(store, player, "Name"), MakeStringValue("Name", QStringLiteral("Zoë")));
    EXPECT_EQ(ValueOf(store, player, "Type"), MakeDwordValue("Type", -1));
    ExpectRoundTrip(store);
}

TEST(RegTextParse, KeyAndValueNamesIgnoreLetterCase)
{
    const TRegStore store = ParseRegText("Windows Registry Editor Version 5.00\n\n"
                                         "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Options]\n"
                                         "\"Speed\"=\"Slow\"\n"
                                         "[hkey_current_user\\SOFTWARE\\tarnwell\\spades\\options]\n"
                                         "\"SPEED\"=\"Fast\"\n",
                                         QStringLiteral("test.reg"));
    ASSERT_EQ(store.Keys().size(), 1u);
    const auto& key = store.Keys().begin()->second;
    EXPECT_EQ(key.Path, SpadesKey + QStringLiteral("\\Options"));  // the first spelling stays
    ASSERT_EQ(key.Values.size(), 1);
    EXPECT_EQ(key.Values[0], MakeStringValue("Speed", "Fast"));    // the last value wins
}

TEST(RegTextParse, DeletionLinesRemoveKeysAndValues)
{
    const TRegStore store = ParseRegText("Windows Registry Editor Version 5.00\n\n"
                                         "[HKEY_CURRENT_USER\\A]\n\"keep\"=\"1\"\n\"drop\"=\"2\"\n\"drop\"=-\n"
                                         "[HKEY_CURRENT_USER\\A\\B]\n[HKEY_CURRENT_USER\\A\\B\\C]\n[HKEY_CURRENT_USER\\A\\BB]\n"
                                         "[-HKEY_CURRENT_USER\\A\\B]\n",
                                         QStringLiteral("test.reg"));
    EXPECT_TRUE(store.HasKey("HKEY_CURRENT_USER\\A"));
    EXPECT_TRUE(store.HasKey("HKEY_CURRENT_USER\\A\\BB"));
    EXPECT_FALSE(store.HasKey("HKEY_CURRENT_USER\\A\\B"));
    EXPECT_FALSE(store.HasKey("HKEY_CURRENT_USER\\A\\B\\C"));
    EXPECT_NE(store.FindValue("HKEY_CURRENT_USER\\A", "keep"), nullptr);
    EXPECT_EQ(store.FindValue("HKEY_CURRENT_USER\\A", "drop"), nullptr);
}

TEST(RegTextParse, BlankFilesAreEmptyStores)
{
    for (const QByteArray& text : {QByteArray(), QByteArray("\n\n"), QByteArray("\xEF\xBB\xBF"), QByteArray(" \t\r\n"),
                                   QByteArray("\xFF\xFE", 2)})
        EXPECT_TRUE(ParseRegText(text, QStringLiteral("test.reg")).IsEmpty()) << text.toHex().toStdString();
}

class RegTextEncoding : public ::testing::TestWithParam<int> {};

TEST_P(RegTextEncoding, GivesTheSameUnicodeNames)
{
    const QString text = QStringLiteral("Windows Registry Editor Version 5.00\n\n"
                                        "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Player1]\n"
                                        "\"Name\"=\"Zoë 東 \U0001F0A1\"\n");
    QString crlf = text;
    crlf.replace(u'\n', QStringLiteral("\r\n"));
    const std::array<QByteArray, 4> files = {text.toUtf8(), "\xEF\xBB\xBF" + text.toUtf8(), crlf.toUtf8(),
                                             Utf16File(crlf)};
    const TRegStore store = ParseRegText(files[static_cast<size_t>(GetParam())], QStringLiteral("test.reg"));
    const TRegValue* name = store.FindValue(SpadesKey + QStringLiteral("\\Player1"), "Name");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(TextFromRegData(name->Data), QStringLiteral("Zoë 東 \U0001F0A1"));
}

INSTANTIATE_TEST_SUITE_P(Utf8BomCrlfUtf16, RegTextEncoding, ::testing::Range(0, 4));

// ---- Damaged files ----------------------------------------------------------------

struct TDamage {
    const char* Label;
    QByteArray Text;
    int Line;
    const char* Reason;
};

void PrintTo(const TDamage& d, std::ostream* os)
{
    *os << d.Label;
}

class RegTextDamage : public ::testing::TestWithParam<TDamage> {};

TEST_P(RegTextDamage, NamesTheFileAndTheLine)
{
    const TDamage& damage = GetParam();
    try {
        ParseRegText(damage.Text, QStringLiteral("/home/u/Spades.reg"));
        FAIL() << "accepted";
    } catch (const ERegFileDamaged& e) {
        EXPECT_EQ(e.Line(), damage.Line) << e.what();
        EXPECT_EQ(e.FilePath(), "/home/u/Spades.reg");
        EXPECT_THAT(e.Reason().toStdString(), HasSubstr(damage.Reason));
        EXPECT_THAT(e.what(), HasSubstr("/home/u/Spades.reg, line " + std::to_string(damage.Line) + ": "));
    }
}

const QByteArray Head = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\X]\n";
const QByteArray Top = "Windows Registry Editor Version 5.00\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, RegTextDamage,
    ::testing::Values(
        TDamage{"OldHeader", "REGEDIT4\n\n[HKEY_CURRENT_USER\\X]\n", 1, "first line must be"},
        TDamage{"HeaderLate", "\nWindows Registry Editor Version 5.00\n", 1, "first line must be"},
        TDamage{"ValueBeforeKey", Top + "\n\"a\"=\"b\"\n", 3, "must follow a key line"},
        TDamage{"ValueAfterDeletedKey", Top + "[-HKEY_CURRENT_USER\\X]\n\"a\"=\"b\"\n", 3, "must follow a key line"},
        TDamage{"KeyNotClosed", Top + "[HKEY_CURRENT_USER\\X\n", 2, "must end with ]"},
        TDamage{"KeyDoubleBackslash", Top + "[HKEY_CURRENT_USER\\\\X]\n", 2, "empty part"},
        TDamage{"KeyTrailingBackslash", Top + "[HKEY_CURRENT_USER\\X\\]\n", 2, "empty part"},
        TDamage{"KeyEmpty", Top + "[]\n", 2, "empty part"},
        TDamage{"KeyUnknownRoot", Top + "[HKCU\\X]\n", 2, "known root"},
        TDamage{"UnterminatedString", Head + "\"a\"=\"b\n", 4, "unterminated"},
        TDamage{"EscapedLastQuote", Head + "\"a\"=\"b\\\"\n", 4, "unterminated"},
        TDamage{"UnterminatedName", Head + "\"a=\"b\n", 4, "expected ="},
        TDamage{"TextAfterString", Head + "\"a\"=\"b\"c\n", 4, "unexpected text"},
        TDamage{"UnknownEscape", Head + "\"Song\"=\"C:\\Music\"\n", 4, "unknown escape \\M"},
        TDamage{"BareName", Head + "a=\"b\"\n", 4, "must be @ or a quoted"},
        TDamage{"NoEquals", Head + "\"a\" \"b\"\n", 4, "expected ="},
        TDamage{"DwordTooLong", Head + "\"a\"=dword:123456789\n", 4, "one to eight hex digits"},
        TDamage{"DwordEmpty", Head + "\"a\"=dword:\n", 4, "one to eight hex digits"},
        TDamage{"DwordPrefixed", Head + "\"a\"=dword:0x10\n", 4, "one to eight hex digits"},
        TDamage{"BadHexDigit", Head + "\"a\"=hex:0g\n", 4, "bad hex byte \"0g\""},
        TDamage{"HexTooWide", Head + "\"a\"=hex:123\n", 4, "bad hex byte \"123\""},
        TDamage{"BadHexOnContinuedLine", Head + "\"a\"=hex:00,\\\n  01,zz\n", 5, "bad hex byte \"zz\""},
        TDamage{"DanglingComma", Head + "\"a\"=hex:00,\n", 4, "hex byte is missing"},
        TDamage{"ContinuationAtEnd", Head + "\"a\"=hex:00,\\", 4, "ends inside a continued value"},
        TDamage{"HexTypeUnclosed", Head + "\"a\"=hex(2:00\n", 4, "hex type number"},
        TDamage{"HexTypeNotHex", Head + "\"a\"=hex(zz):00\n", 4, "hex type number"},
        TDamage{"HexNoColon", Head + "\"a\"=hex(2)00\n", 4, "expected hex:"},
        TDamage{"UnknownType", Head + "\"a\"=qword:00\n", 4, "unknown value type"},
        TDamage{"NoData", Head + "\"a\"=\n", 4, "unknown value type"},
        TDamage{"BadUtf8", Head + "\"a\"=\"\xC3\x28\"\n", 4, "not valid UTF-8"},
        TDamage{"CutUtf8", Head + "\"a\"=\"\xE6\x9D\n\"\n", 4, "not valid UTF-8"},
        TDamage{"ControlCharacter", Head + "\"a\"=\"b\x01\"\n", 4, "control character 0x01"},
        TDamage{"ZeroByte", Head + QByteArray("\"a\"=\"b\0c\"\n", 10), 4, "control character 0x00"},
        TDamage{"Utf16OddLength", Utf16File(QString::fromLatin1(Head)) + "A", 4, "ends inside a character"},
        TDamage{"Utf16LoneSurrogate", Utf16File(QString::fromLatin1(Head) + QChar(0xD800) + QStringLiteral("\n")), 4,
                "not valid UTF-16"}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST(RegTextParse, RefusesAnOversizedFileUnread)
{
    try {
        ParseRegText(QByteArray(MaxRegFileSize + 1, ' '), QStringLiteral("big.reg"));
        FAIL() << "accepted";
    } catch (const ERegFileDamaged& e) {
        EXPECT_EQ(e.Line(), 0);
        EXPECT_THAT(e.what(), HasSubstr("big.reg: the file is larger than"));
    }
}

// ---- Writing ----------------------------------------------------------------------

TEST(RegTextFormat, WritesTheExactExportText)
{
    TRegStore store;
    const QString key = SpadesKey + QStringLiteral("\\Test");
    store.CreateKey(SpadesKey);
    QByteArray blob;
    for (int i = 0; i < 40; ++i)
        blob.append(static_cast<char>(i));
    const std::array<TRegValue, 11> values = {
        MakeStringValue("Path", QStringLiteral("C:\\Games\\\"Spades\"")),
        MakeDwordValue("Count", -2),
        TRegValue{"Expand", TRegType::ExpandSz, Utf16LeBytes("%A%") + QByteArray(2, '\0')},
        MakeStringValue("", "default"),
        TRegValue{"Lines", TRegType::Sz, Utf16LeBytes("a\nb")},
        TRegValue{"Zero", TRegType::Sz, Utf16LeBytes(QString("a") + QChar(0) + "b")},
        TRegValue{"Short", TRegType::Dword, QByteArray("\x01\x02")},
        TRegValue{"Blob", TRegType::Binary, blob},
        TRegValue{"Empty", TRegType::Binary, {}},
        MakeStringValue("Tab\tName", QStringLiteral("東\tZoë")),
        TRegValue{"Big", static_cast<TRegType>(0x1b), QByteArray("\xff")},
    };
    for (const TRegValue& value : values)
        ASSERT_TRUE(store.SetValue(key, value));

    const QByteArray expected =
        "Windows Registry Editor Version 5.00\n"
        "\n"
        "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades]\n"
        "\n"
        "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Test]\n"
        "\"Path\"=\"C:\\\\Games\\\\\\\"Spades\\\"\"\n"
        "\"Count\"=dword:fffffffe\n"
        "\"Expand\"=hex(2):25,00,41,00,25,00,00,00\n"
        "@=\"default\"\n"
        "\"Lines\"=hex(1):61,00,0a,00,62,00\n"
        "\"Zero\"=hex(1):61,00,00,00,62,00\n"
        "\"Short\"=hex(4):01,02\n"
        "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\n"
        "  16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27\n"
        "\"Empty\"=hex:\n"
        "\"Tab\tName\"=\"東\tZoë\"\n"
        "\"Big\"=hex(1b):ff\n"
        "\n";
    EXPECT_EQ(FormatRegText(store), expected);
    ExpectRoundTrip(store);
}


// ---- Random and broken input --------------------------------------------------------

namespace {
QByteArray RandomText(std::mt19937& rng, const QByteArray& alphabet, int maxLength)
{
    std::uniform_int_distribution<int> length(0, maxLength);
    std::uniform_int_distribution<int> pick(0, int(alphabet.size()) - 1);
    std::uniform_int_distribution<int> anyByte(0, 255);
    QByteArray text;
    const int n = length(rng);
    for (int i = 0; i < n; ++i)
        text.append(rng() % 16 == 0 ? static_cast<char>(anyByte(rng)) : alphabet[pick(rng)]);
    return text;
}

QByteArray Mutate(std::mt19937& rng, QByteArray text)
{
    const int edits = 1 + int(rng() % 5);
    for (int i = 0; i < edits; ++i) {
        const qsizetype at = text.isEmpty() ? 0 : qsizetype(rng() % quint32(text.size()));
        switch (rng() % 3) {
        case 0:
            if (!text.isEmpty())
                text[at] = static_cast<char>(rng() % 256);
            break;
        case 1:
            text.insert(at, static_cast<char>("\"\\[]=,:\n-@(x"[rng() % 12]));
            break;
        default:
            text.remove(at, 1 + qsizetype(rng() % 4));
        }
    }
    return text;
}

// Either a clean refusal that points at a line of the file, or a store that round-trips.
void CheckInput(const QByteArray& input, int& accepted)
{
    try {
        const TRegStore store = ParseRegText(input, QStringLiteral("fuzz.reg"));
        ++accepted;
        ExpectRoundTrip(store);
    } catch (const ERegFileDamaged& e) {
        EXPECT_GE(e.Line(), 1) << input.toHex().toStdString();
        EXPECT_LE(e.Line(), input.count('\n') + 1) << input.toHex().toStdString();
        EXPECT_THAT(e.what(), HasSubstr("fuzz.reg, line "));
    }
}
}  // namespace

TEST(RegTextFuzz, RandomTruncatedAndMutatedFilesFailCleanlyOrRoundTrip)
{
    std::mt19937 rng(20240611);
    const QByteArray alphabet = "\"\\[]=,:;@-() \t\r\n\n\nhexdword0123456789abcdefABCDEF"
                                "HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\xc3\xab\xe6\x9d\xb1";
    const QByteArray header = QByteArray(RegFileHeader) + "\n\n[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades]\n";
    int cases = 0;
    int accepted = 0;
    for (int i = 0; i < 3000; ++i, ++cases)
        CheckInput((i % 2 ? header : QByteArray()) + RandomText(rng, alphabet, 160), accepted);
    for (qsizetype cut = 0; cut <= Export.size(); ++cut, ++cases)
        CheckInput(Export.left(cut), accepted);
    const QByteArray utf16 = Utf16File(QString::fromUtf8(Export));
    for (qsizetype cut = 0; cut <= utf16.size(); cut += 3, ++cases)
        CheckInput(utf16.left(cut), accepted);
    for (int i = 0; i < 5000; ++i, ++cases)
        CheckInput(Mutate(rng, Export), accepted);
    EXPECT_GT(cases, 8500);
    std::printf("%d inputs, %d accepted\n", cases, accepted);
    // Both outcomes must really be exercised.
    EXPECT_GT(accepted, 500);
    EXPECT_LT(accepted, cases - 2000);
}
