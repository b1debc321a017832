#include "Cmpres32.h"
#include "Encoder.h"
#include "ResourceTestSupport.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gmock/gmock.h>

#include <functional>
#include <string>

namespace spades {
namespace {

using cmpbmp::TMethod;
using test::AsSpan;
using test::Bytes;
using test::ToQByteArray;

QByteArray Random(qsizetype size, std::uint32_t seed)
{
    QByteArray out(size, '\0');
    for (qsizetype i = 0; i < size; ++i) {
        seed = seed * 1664525u + 1013904223u;
        out[i] = char(seed >> 24);
    }
    return out;
}

QByteArray Repeated(const QByteArray& unit, qsizetype size)
{
    QByteArray out;
    out.reserve(size);
    while (out.size() < size)
        out += unit.left(size - out.size());
    return out;
}

QByteArray ResourceBmp(const char* name)
{
    QFile file(QString(":/CMPBMP/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return test::Expand(file.readAll());
}

QByteArray Encode(const QByteArray& data, TMethod method)
{
    return ToQByteArray(cmpbmp::EncodeStream(AsSpan(data), method));
}

struct TInput {
    const char* name;
    std::function<QByteArray()> make;
};

const std::vector<TInput>& Inputs()
{
    static const std::vector<TInput> inputs{
        {"Empty", [] { return QByteArray(); }},
        {"OneByte", [] { return QByteArray("x"); }},
        {"TwoBytes", [] { return QByteArray("xy"); }},
        {"OneEscapeByte", [] { return Bytes({0x94}); }},
        {"RunOfEscapeBytes", [] { return QByteArray(600, '\x94'); }},
        {"Spaces", [] { return QByteArray(5000, ' '); }},
        {"SpacesThenText", [] { return QByteArray(70, ' ') + "text after the spaces"; }},
        {"RunsOfAllLengths",
         [] {
             QByteArray out;
             for (int n = 1; n < 300; ++n)
                 out += QByteArray(n, char(n));
             return out;
         }},
        {"ShortRepeats", [] { return Repeated("abcabcabd", 100000); }},
        {"Zeros", [] { return QByteArray(1 << 20, '\0'); }},
        // Literals all the way: the tree is rebuilt many times over.
        {"Random", [] { return Random(300000, 99); }},
        // Matches of a pattern longer than the window, then of one inside it.
        {"FarAndNearRepeats", [] { return Repeated(Random(5000, 1), 200000) + Repeated(Random(3000, 2), 200000); }},
        {"Text",
         [] {
             return Repeated("Spades are always trumps; each seat bids a number of tricks from 1 to 13 or Nil.\r\n",
                             70000);
         }},
        {"GreenClothBmp", [] { return ResourceBmp("IDB_GREENCLOTH"); }},
        {"InterruptBmp", [] { return ResourceBmp("IDB_INTERRUPT"); }},
    };
    return inputs;
}

struct TRoundTrip {
    std::size_t input;
    TMethod method;
};

void PrintTo(const TRoundTrip& c, std::ostream* os) { *os << Inputs()[c.input].name; }

class RoundTrip : public ::testing::TestWithParam<TRoundTrip> {};

TEST_P(RoundTrip, ExpandsBackToTheExactBytes)
{
    const QByteArray data = Inputs()[GetParam().input].make();
    const QByteArray stream = Encode(data, GetParam().method);
    EXPECT_EQ(test::Expand(stream), data);
    if (!stream.isEmpty()) {
        EXPECT_GT(stream.size(), 21);
        EXPECT_EQ(test::Sum(data), std::uint32_t(std::uint8_t(stream[13])) | std::uint8_t(stream[14]) << 8 |
                                       std::uint8_t(stream[15]) << 16 | std::uint32_t(std::uint8_t(stream[16])) << 24);
    }
}

std::vector<TRoundTrip> AllRoundTrips()
{
    std::vector<TRoundTrip> all;
    for (std::size_t i = 0; i < Inputs().size(); ++i)
        for (const TMethod m : {TMethod::Lzh, TMethod::RunLength, TMethod::Stored})
            all.push_back({i, m});
    return all;
}

INSTANTIATE_TEST_SUITE_P(InputsAndMethods, RoundTrip, ::testing::ValuesIn(AllRoundTrips()), [](const auto& info) {
    const char* method = info.param.method == TMethod::Lzh ? "Lzh" : info.param.method == TMethod::RunLength ? "Rle" : "Non";
    return std::string(Inputs()[info.param.input].name) + method;
});

TEST(LzhEncoder, WritesTheHeaderFields)
{
    const QByteArray stream = Encode("hello", TMethod::Lzh);
    EXPECT_EQ(stream.left(8), QByteArray("SPIS\x1ALZH", 8));
    EXPECT_EQ(stream.mid(8, 4), Bytes({5, 0, 0, 0}));
    EXPECT_EQ(stream[12], '\0');
    EXPECT_EQ(stream.mid(17, 4), Bytes({0, 0, 0, 0}));
    EXPECT_EQ(Encode("hello", TMethod::RunLength).mid(5, 3), "RLE");
    EXPECT_EQ(Encode("hello", TMethod::Stored).mid(21), "hello");
}

TEST(LzhEncoder, EmptyInputIsAStreamOfSizeZero)
{
    const QByteArray stream = Encode({}, TMethod::Lzh);
    EXPECT_EQ(stream.size(), 22);
    EXPECT_EQ(stream.mid(8, 4), Bytes({0, 0, 0, 0}));
    EXPECT_TRUE(test::Expand(stream).isEmpty());
}

TEST(LzhEncoder, FirstCodesAreThoseOfTheFreshTree)
{
    // 'A' from the fresh tree, then the longest match at position 0 from node 65.
    const QByteArray stream = Encode(QByteArray(61, 'A'), TMethod::Lzh);
    EXPECT_EQ(stream.mid(21), test::FromBits("111001101 111001101 000 000000"));
    // Spaces are found in the initial window: length 60, whatever position.
    EXPECT_EQ(Encode(QByteArray(60, ' '), TMethod::Lzh).mid(21, 1), test::FromBits("11000101"));
}

TEST(LzhEncoder, FindsMatchesWhereThereAreSome)
{
    // Longest matches all the way: about ten bits for every sixty bytes.
    EXPECT_LT(Encode(QByteArray(1 << 20, '\0'), TMethod::Lzh).size(), 24000);
    EXPECT_LT(Encode(Repeated(Random(3000, 5), 1 << 20), TMethod::Lzh).size(), 60000);
    EXPECT_LT(Encode(Random(100000, 3), TMethod::Lzh).size(), 100000 * 115 / 100);
    const QByteArray cloth = ResourceBmp("IDB_GREENCLOTH");
    EXPECT_LT(Encode(cloth, TMethod::Lzh).size(), cloth.size());
}

struct TRleCase {
    const char* name;
    QByteArray data;
    QByteArray body;
};

void PrintTo(const TRleCase& c, std::ostream* os) { *os << c.name; }

class RleEncoder : public ::testing::TestWithParam<TRleCase> {};

TEST_P(RleEncoder, WritesRunsAndEscapes)
{
    EXPECT_EQ(ToQByteArray(cmpbmp::EncodeRunLengthBody(AsSpan(GetParam().data))).toHex(), GetParam().body.toHex());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RleEncoder,
    ::testing::Values(TRleCase{"PairStaysPlain", "aa", "aa"},
                      TRleCase{"RunOfThree", "aaa", Bytes({'a', 0x94, 3})},
                      TRleCase{"LoneEscape", Bytes({0x94}), Bytes({0x94, 0})},
                      TRleCase{"EscapesAreNeverRuns", Bytes({0x94, 0x94, 0x94}), Bytes({0x94, 0, 0x94, 0, 0x94, 0})},
                      TRleCase{"LongRunSplits", QByteArray(258, 'b'), Bytes({'b', 0x94, 255, 'b', 0x94, 3})},
                      TRleCase{"LongRunLeavesAPair", QByteArray(257, 'b'), Bytes({'b', 0x94, 255, 'b', 'b'})},
                      TRleCase{"RunAfterLiteral", "xaaaa", Bytes({'x', 'a', 0x94, 4})}),
    [](const auto& info) { return std::string(info.param.name); });

// --- The command-line tool ------------------------------------------------------

#ifdef SPADES_CMPBMP_TOOL
struct TToolRun {
    int exitCode;
    QString errors;
};

TToolRun RunTool(const QStringList& args)
{
    QProcess tool;
    tool.start(QStringLiteral(SPADES_CMPBMP_TOOL), args);
    if (!tool.waitForFinished(60000))
        return {-1, "did not finish"};
    return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
            QString::fromLocal8Bit(tool.readAllStandardError())};
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(CmpbmpTool, CompressesAndExpandsFiles)
{
    QTemporaryDir dir;
    const QByteArray data = ResourceBmp("IDB_MAHOGANY");
    WriteFile(dir.filePath("in.bmp"), data);
    for (const char* method : {"LZH", "RLE", "NON"}) {
        const QString packed = dir.filePath(QString("packed-") + method);
        const QString unpacked = dir.filePath(QString("unpacked-") + method);
        ASSERT_EQ(RunTool({"compress", "--method", method, dir.filePath("in.bmp"), packed}).exitCode, 0);
        EXPECT_EQ(ReadFile(packed).mid(5, 3), method);
        ASSERT_EQ(RunTool({"expand", packed, unpacked}).exitCode, 0);
        EXPECT_EQ(ReadFile(unpacked), data) << method;
    }
    ASSERT_EQ(RunTool({"compress", dir.filePath("in.bmp"), dir.filePath("default")}).exitCode, 0);
    EXPECT_EQ(ReadFile(dir.filePath("default")).mid(5, 3), "LZH");
}

TEST(CmpbmpTool, RejectsBadUsageWithExitTwo)
{
    const std::vector<QStringList> bad{{},
                                       {"pack", "a", "b"},
                                       {"compress", "a"},
                                       {"compress", "--method", "LZW", "a", "b"},
                                       {"compress", "--method"},
                                       {"compress", "--level", "a", "b"},
                                       {"expand", "a"},
                                       {"expand", "a", "b", "c"}};
    for (const QStringList& args : bad) {
        const TToolRun run = RunTool(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_THAT(run.errors.toStdString(), ::testing::HasSubstr("usage: cmpbmp")) << args.join(' ').toStdString();
    }
}

TEST(CmpbmpTool, ReportsABadStreamAndWritesNothing)
{
    QTemporaryDir dir;
    QByteArray stream = Encode(ResourceBmp("IDB_OAK"), TMethod::Lzh);
    stream[13] = char(stream[13] ^ 1);  // checksum
    WriteFile(dir.filePath("bad"), stream);
    const TToolRun run = RunTool({"expand", dir.filePath("bad"), dir.filePath("out")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.errors.toStdString(), ::testing::HasSubstr("Bad checksum during expansion -- data may be invalid"));
    EXPECT_FALSE(QFile::exists(dir.filePath("out")));

    const TToolRun missing = RunTool({"compress", dir.filePath("nothing-here"), dir.filePath("out")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_FALSE(QFile::exists(dir.filePath("out")));
}
#endif

}  // namespace
}  // namespace spades
