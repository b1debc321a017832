#include "Cmpres32.h"
#include "ResourceTestSupport.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryFile>

#include <gmock/gmock.h>

#include <climits>
#include <functional>
#include <string>

namespace spades {
namespace {

using test::Bytes;
using test::Expand;
using test::FromBits;
using test::Header;
using test::Sum;

enum class TFailure { None, ArchiveType, Method, Key, Checksum, TooLarge, Stream, Other };

struct TCaught {
    TFailure kind = TFailure::None;
    std::string text;
};

TCaught Catch(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EInvalidHeaderArchiveType& e) {
        return {TFailure::ArchiveType, e.what()};
    } catch (const EUnrecognizedCompressionMethod& e) {
        return {TFailure::Method, e.what()};
    } catch (const EInvalidKey& e) {
        return {TFailure::Key, e.what()};
    } catch (const EBadChecksum& e) {
        return {TFailure::Checksum, e.what()};
    } catch (const EExpandedSizeTooLarge& e) {
        return {TFailure::TooLarge, e.what()};
    } catch (const EStreamError& e) {
        return {TFailure::Stream, e.what()};
    } catch (const EResourceError& e) {
        return {TFailure::Other, e.what()};
    }
    return {};
}

// Expands into a buffer that already holds bytes, to see what a failure leaves behind.
TCaught ExpandOver(QByteArray& dest, const QByteArray& source, const TResCompress& expander = TResCompress())
{
    return Catch([&] {
        QBuffer out(&dest);
        out.open(QIODevice::ReadWrite);
        QBuffer in;
        in.setData(source);
        in.open(QIODevice::ReadOnly);
        expander.Expand(out, in);
    });
}

const char* const kArchiveText = "Expand can't handle caMulti archive type in compressed header";
const char* const kMethodText = "Unrecognized compression method in header";
const char* const kKeyText = "File locked -- valid key required";
const char* const kChecksumText = "Bad checksum during expansion -- data may be invalid";

TEST(ResourceExceptions, CarryTheirTextsAndShareOneBase)
{
    EXPECT_STREQ(EInvalidHeaderArchiveType().what(), kArchiveText);
    EXPECT_STREQ(EUnrecognizedCompressionMethod().what(), kMethodText);
    EXPECT_STREQ(EInvalidKey().what(), kKeyText);
    EXPECT_STREQ(EBadChecksum().what(), kChecksumText);
    EXPECT_TRUE((std::is_base_of_v<EResourceError, EInvalidHeaderArchiveType>));
    EXPECT_TRUE((std::is_base_of_v<EResourceError, EUnrecognizedCompressionMethod>));
    EXPECT_TRUE((std::is_base_of_v<EResourceError, EInvalidKey>));
    EXPECT_TRUE((std::is_base_of_v<EResourceError, EBadChecksum>));
    EXPECT_TRUE((std::is_base_of_v<std::runtime_error, EResourceError>));
}

TEST(ResCompress, StartsWithoutKeyAndWithTheDefaultLimit)
{
    const TResCompress expander;
    EXPECT_EQ(expander.Key, 0);
    EXPECT_EQ(expander.SizeLimit(), 16u * 1024u * 1024u);
}

// --- Streams that are handed on unchanged -------------------------------------

struct TPassCase {
    const char* name;
    QByteArray source;
};

void PrintTo(const TPassCase& c, std::ostream* os) { *os << c.name; }

class PassThrough : public ::testing::TestWithParam<TPassCase> {};

TEST_P(PassThrough, CopiesTheSourceUnchanged)
{
    EXPECT_EQ(Expand(GetParam().source), GetParam().source);
}

INSTANTIATE_TEST_SUITE_P(
    ShortOrForeign, PassThrough,
    ::testing::Values(
        TPassCase{"Empty", QByteArray()},
        TPassCase{"OneByte", Bytes({0x42})},
        TPassCase{"TwentyOneBytesOfValidHeader", Header("LZH", 5, 7)},
        TPassCase{"TwentyOneBytesOfBadHeader", Header("XYZ", 5, 7, 1, 1)},
        TPassCase{"PlainBitmapBytes", QByteArray("BM\x36\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00(", 15) + QByteArray(40, 'z')},
        TPassCase{"MagicWithWrongFifthByte", QByteArray("SPIS\x1B", 5) + QByteArray("LZH") + QByteArray(30, '\0')},
        TPassCase{"MagicInLowerCase", QByteArray("spis\x1A", 5) + QByteArray("LZH") + QByteArray(30, '\1')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResCompress, PassesThroughFromTheSourcesPosition)
{
    const QByteArray body("not a compressed stream at all, just bytes");
    QByteArray out;
    QBuffer dest(&out);
    dest.open(QIODevice::WriteOnly);
    QBuffer source;
    source.setData("prefix" + body);
    source.open(QIODevice::ReadOnly);
    source.seek(6);
    TResCompress().Expand(dest, source);
    EXPECT_EQ(out, body);
}

TEST(ResCompress, ReadsTheHeaderFromTheSourcesPosition)
{
    QByteArray out;
    QBuffer dest(&out);
    dest.open(QIODevice::WriteOnly);
    QBuffer source;
    source.setData("junk" + Header("NON", 3, 0) + "abc");
    source.open(QIODevice::ReadOnly);
    source.seek(4);
    TResCompress().Expand(dest, source);
    EXPECT_EQ(out, "abc");
}

TEST(ResCompress, WritesFromTheDestinationsPosition)
{
    QByteArray out("0123456789");
    QBuffer dest(&out);
    dest.open(QIODevice::ReadWrite);
    dest.seek(4);
    QBuffer source;
    source.setData(Header("NON", 3, 0) + "abc");
    source.open(QIODevice::ReadOnly);
    TResCompress().Expand(dest, source);
    EXPECT_EQ(out, "0123abc789");
}

TEST(ResCompress, ExpandsIntoAFile)
{
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    QBuffer source;
    source.setData(Header("RLE", 5, 5 * 0x41) + Bytes({0x41, 0x94, 0x05}));
    source.open(QIODevice::ReadOnly);
    TResCompress().Expand(file, source);
    file.seek(0);
    EXPECT_EQ(file.readAll(), QByteArray(5, 'A'));
}

TEST(ResCompress, ReportsADestinationThatRefusesBytes)
{
    for (const QByteArray& stream : {Header("NON", 3, 0) + "abc", Header("RLE", 1, 'a') + "a",
                                     Header("LZH", 1, 'A') + FromBits("111001101")}) {
        QByteArray out;
        QBuffer dest(&out);
        dest.open(QIODevice::ReadOnly);
        QBuffer source;
        source.setData(stream);
        source.open(QIODevice::ReadOnly);
        EXPECT_THROW(TResCompress().Expand(dest, source), EStreamError) << stream.toHex().toStdString();
    }
}

// --- Header and body checks, in their order -----------------------------------

struct TFailureCase {
    const char* name;
    QByteArray stream;
    TFailure failure;
    std::int32_t key = 0;
};

void PrintTo(const TFailureCase& c, std::ostream* os) { *os << c.name; }

class CheckOrder : public ::testing::TestWithParam<TFailureCase> {};

TEST_P(CheckOrder, RaisesTheFirstFailingCheck)
{
    TResCompress expander;
    expander.Key = GetParam().key;
    QByteArray dest("untouched");
    const TCaught caught = ExpandOver(dest, GetParam().stream, expander);
    ASSERT_EQ(caught.kind, GetParam().failure) << caught.text;
    switch (caught.kind) {
    case TFailure::ArchiveType: EXPECT_EQ(caught.text, kArchiveText); break;
    case TFailure::Method: EXPECT_EQ(caught.text, kMethodText); break;
    case TFailure::Key: EXPECT_EQ(caught.text, kKeyText); break;
    case TFailure::Checksum: EXPECT_EQ(caught.text, kChecksumText); break;
    default: break;
    }
    // Only the checksum is checked after the bytes are written.
    const bool wroteFirst = caught.kind == TFailure::Checksum || (caught.kind == TFailure::Key && GetParam().key != 0);
    if (!wroteFirst) {
        EXPECT_EQ(dest, "untouched");
    }
}

const QByteArray kBody = Bytes({0x41, 0x42, 0x43});

INSTANTIATE_TEST_SUITE_P(
    Failures, CheckOrder,
    ::testing::Values(
        TFailureCase{"ArchiveTypeBeforeMethod", Header("XYZ", 3, 0, 0, 1) + kBody, TFailure::ArchiveType},
        TFailureCase{"ArchiveTypeHighValue", Header("LZH", 3, 0, 0, 0xFF) + kBody, TFailure::ArchiveType},
        TFailureCase{"ArchiveTypeBeforeSize", Header("LZH", 0xFFFFFFFFu, 0, 0, 2) + kBody, TFailure::ArchiveType},
        TFailureCase{"CustomMethodIsRejected", Header("CUS", 3, 0) + kBody, TFailure::Method},
        TFailureCase{"LowerCaseMethod", Header("lzh", 3, 0) + kBody, TFailure::Method},
        TFailureCase{"MixedCaseMethod", Header("Rle", 3, 0) + kBody, TFailure::Method},
        TFailureCase{"MethodWithNul", Header("NO\0", 3, 0) + kBody, TFailure::Method},
        TFailureCase{"MethodBeforeSize", Header("ABC", 0xFFFFFFFFu, 0) + kBody, TFailure::Method},
        TFailureCase{"SizeBeforeLock", Header("LZH", 0x01000001u, 0, 1) + kBody, TFailure::TooLarge},
        TFailureCase{"SizeForStoredToo", Header("NON", 0xFFFFFFFFu, 0) + kBody, TFailure::TooLarge},
        TFailureCase{"LockOneWithoutKey", Header("LZH", 1, 'A', 1) + FromBits("111001101"), TFailure::Key},
        TFailureCase{"LockedStoredWithoutKey", Header("NON", 3, Sum(kBody), 1) + kBody, TFailure::Key},
        TFailureCase{"LockedLargestWithoutKey", Header("RLE", 3, Sum(kBody), INT_MAX) + kBody, TFailure::Key},
        TFailureCase{"LockBeforeChecksum", Header("RLE", 3, 12345, 1) + kBody, TFailure::Key},
        TFailureCase{"LockedWithWrongKey", Header("RLE", 3, Sum(kBody) + 7, 1) + kBody, TFailure::Key, 6},
        TFailureCase{"UnlockedWrongChecksumRle", Header("RLE", 3, Sum(kBody) + 1) + kBody, TFailure::Checksum},
        TFailureCase{"UnlockedWrongChecksumLzh", Header("LZH", 1, 'B') + FromBits("111001101"), TFailure::Checksum},
        TFailureCase{"UnlockedChecksumPlusKeyIsWrong", Header("RLE", 3, Sum(kBody) + 6) + kBody, TFailure::Checksum, 6},
        TFailureCase{"EmptyLzhWithChecksumOne", Header("LZH", 0, 1) + Bytes({0}), TFailure::Checksum}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Streams that expand ------------------------------------------------------

struct TExpandCase {
    const char* name;
    QByteArray stream;
    QByteArray expected;
    std::int32_t key = 0;
};

void PrintTo(const TExpandCase& c, std::ostream* os) { *os << c.name; }

class Expands : public ::testing::TestWithParam<TExpandCase> {};

TEST_P(Expands, ToTheExpectedBytes)
{
    TResCompress expander;
    expander.Key = GetParam().key;
    EXPECT_EQ(Expand(GetParam().stream, expander).toHex(), GetParam().expected.toHex());
}

INSTANTIATE_TEST_SUITE_P(
    StoredAndLocks, Expands,
    ::testing::Values(
        TExpandCase{"StoredIgnoresChecksum", Header("NON", 3, 0xDEADBEEF) + kBody, kBody},
        TExpandCase{"StoredIgnoresSize", Header("NON", 0, 0) + kBody, kBody},
        TExpandCase{"StoredLongerThanBuffer", Header("NON", 20000, 0) + QByteArray(20000, 'q'), QByteArray(20000, 'q')},
        TExpandCase{"LockMinusOneIsUnlocked", Header("RLE", 3, Sum(kBody), -1) + kBody, kBody},
        TExpandCase{"LockMostNegativeIsUnlocked", Header("NON", 3, 0, INT_MIN) + kBody, kBody},
        TExpandCase{"LockedStoredWithKey", Header("NON", 3, 99, 1) + kBody, kBody, 5},
        TExpandCase{"LockedChecksumIsSumPlusKey", Header("RLE", 3, Sum(kBody) + 5, 1) + kBody, kBody, 5},
        TExpandCase{"LockedChecksumIsPlainSum", Header("RLE", 3, Sum(kBody), 1) + kBody, kBody, 5},
        TExpandCase{"LockedNegativeKeyWraps", Header("RLE", 3, Sum(kBody) - 3, 7) + kBody, kBody, -3},
        TExpandCase{"LzhSizeZeroProducesNothing", Header("LZH", 0, 0) + Bytes({0xFF, 0xFF}), QByteArray()}),
    [](const auto& info) { return std::string(info.param.name); });

TExpandCase Rle(const char* name, const QByteArray& body, const QByteArray& expected)
{
    return {name, Header("RLE", std::uint32_t(expected.size()), Sum(expected)) + body, expected};
}

INSTANTIATE_TEST_SUITE_P(
    RunLength, Expands,
    ::testing::Values(
        Rle("RunOfFive", Bytes({0x41, 0x94, 0x05}), QByteArray(5, 'A')),
        Rle("EscapedEscape", Bytes({0x94, 0x00}), Bytes({0x94})),
        Rle("RunOfOneAddsNothing", Bytes({0x41, 0x94, 0x01}), Bytes({0x41})),
        Rle("LoneEscapeAtTheEnd", Bytes({0x41, 0x94}), Bytes({0x41, 0x94})),
        Rle("RunBeforeAnyByteRepeatsZero", Bytes({0x94, 0x04}), QByteArray(3, '\0')),
        Rle("AfterAnEscapeThePreviousIsTheEscape", Bytes({0x41, 0x94, 0x03, 0x94, 0x03}), Bytes({0x41, 0x41, 0x41, 0x94, 0x94})),
        Rle("LongestRun", Bytes({0x20, 0x94, 0xFF}), QByteArray(255, ' ')),
        Rle("PlainBytes", Bytes({0x01, 0x02, 0x03, 0x93, 0x95}), Bytes({0x01, 0x02, 0x03, 0x93, 0x95})),
        Rle("RunsAcrossTheBuffer", QByteArray(8190, 'x') + Bytes({0x94, 0x10, 0x79}), QByteArray(8190 + 15, 'x') + "y")),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResCompress, RunLengthRunsToTheEndOfInputWhateverTheSize)
{
    // The size only reserves room; the destination holds what the body gives.
    EXPECT_EQ(Expand(Header("RLE", 100, 5 * 0x41) + Bytes({0x41, 0x94, 0x05})), QByteArray(5, 'A'));
    EXPECT_EQ(Expand(Header("RLE", 1, 5 * 0x41) + Bytes({0x41, 0x94, 0x05})), QByteArray(5, 'A'));
}

// --- LZH bit streams built by hand --------------------------------------------
//
// In the fresh tree node n hangs below node 314 + n / 2 and is reached by the
// bit n & 1, so a symbol's first code can be read off its node number. After a
// literal's first use, its leaf trades places with node 313 (the last leaf).

std::string InitialCode(int node)
{
    std::string bits;
    for (int n = node; n != 626; n = 314 + n / 2)
        bits.insert(bits.begin(), char('0' + (n & 1)));
    return bits;
}

TEST(LzhBits, InitialCodesFollowTheTreeLayout)
{
    EXPECT_EQ(InitialCode('A'), "111001101");
    EXPECT_EQ(InitialCode(0), "110001100");
    EXPECT_EQ(InitialCode(116), "00000000");  // the all-zero path
    EXPECT_EQ(InitialCode(256), "10001100");  // match of length 3
    EXPECT_EQ(InitialCode(313), "11000101");  // match of length 60
}

TEST(LzhBits, EveryLiteralDecodesFromTheInitialTree)
{
    for (int literal = 0; literal < 256; ++literal) {
        const QByteArray expected(1, char(literal));
        const QByteArray stream = Header("LZH", 1, std::uint32_t(literal)) + FromBits(InitialCode(literal));
        EXPECT_EQ(Expand(stream), expected) << literal;
    }
}

TExpandCase Lzh(const char* name, std::uint32_t size, std::string_view bits, const QByteArray& expected)
{
    return {name, Header("LZH", size, Sum(expected)) + FromBits(bits), expected};
}

INSTANTIATE_TEST_SUITE_P(
    LzhByHand, Expands,
    ::testing::Values(
        Lzh("OneLiteral", 1, "111001101", "A"),
        // 'A' now sits at node 313, whose code is 11000101.
        Lzh("SameLiteralTwice", 2, "111001101 11000101", "AA"),
        // Symbol 313 took over node 65 (A's old code); position 0 = code 000, low bits 000000.
        Lzh("LiteralThenLongestMatchAtPositionZero", 61, "111001101 111001101 000 000000", QByteArray(61, 'A')),
        // Length 3 at position 100: upper part 1 (code 0010), low bits 36.
        Lzh("FirstMatchReadsInitialSpaces", 3, "10001100 0010 100100", "   "),
        // Length 60 at position 4035 (upper 63, code 11111111, low bits 3) starts at window 0.
        Lzh("LongestMatchFromWindowStart", 60, "11000101 11111111 000011", QByteArray(60, ' ')),
        // Position 1 after 'A': a space, the 'A', then the space just written.
        Lzh("OverlappingMatchAfterLiteral", 4, "111001101 10001100 000 000001", "A A "),
        // Missing input reads as zero bits: 't', then the longest match repeating it,
        // copied whole although it runs past the size.
        Lzh("ZeroBitsRunPastTheSize", 5, "00000000", QByteArray(61, 't'))),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LzhBits, TruncatedBodyIsCaughtByTheChecksum)
{
    // "AA" with the second code cut off: the missing bits read as zeros.
    const QByteArray stream = Header("LZH", 2, 2 * 'A') + FromBits("111001101 1");
    EXPECT_EQ(Catch([&] { Expand(stream); }).kind, TFailure::Checksum);
}

// --- Size limit ---------------------------------------------------------------

TEST(ResCompressLimit, RefusesHeadersAskingForMoreThanTheLimit)
{
    TResCompress expander;
    expander.SetSizeLimit(1000);
    const TCaught over = Catch([&] { Expand(Header("LZH", 1001, 0) + Bytes({0}), expander); });
    EXPECT_EQ(over.kind, TFailure::TooLarge);
    EXPECT_EQ(over.text, "Expanded size in compressed header exceeds the limit of 1000 bytes");
    EXPECT_EQ(Catch([&] { Expand(Header("NON", 1000, 0) + "x", expander); }).kind, TFailure::None);

    const TCaught byDefault = Catch([&] { Expand(Header("LZH", 16u * 1024 * 1024 + 1, 0) + Bytes({0})); });
    EXPECT_EQ(byDefault.kind, TFailure::TooLarge);
    EXPECT_THAT(byDefault.text, ::testing::HasSubstr("16777216"));
}

TEST(ResCompressLimit, StopsRunLengthBodiesThatGrowPastTheLimit)
{
    TResCompress expander;
    expander.SetSizeLimit(300);
    QByteArray body("x");
    body += Bytes({0x94, 0xFF});  // 255 bytes
    EXPECT_EQ(Catch([&] { Expand(Header("RLE", 255, 255 * 'x') + body, expander); }).kind, TFailure::None);
    body += Bytes({0x94, 0x40});  // and 63 more
    const TCaught caught = Catch([&] { Expand(Header("RLE", 255, 0) + body, expander); });
    EXPECT_EQ(caught.kind, TFailure::TooLarge);
    EXPECT_EQ(caught.text, "Expanded data exceeds the limit of 300 bytes");
}

TEST(ResCompressLimit, ReservesRoomButDoesNotPadTheDestination)
{
    QByteArray out;
    QBuffer dest(&out);
    dest.open(QIODevice::WriteOnly);
    QBuffer source;
    source.setData(Header("RLE", 50000, 'z') + "z");
    source.open(QIODevice::ReadOnly);
    TResCompress().Expand(dest, source);
    EXPECT_EQ(out, "z");
    EXPECT_GE(out.capacity(), 50000);
}

// --- Damaged streams never do worse than an exception ------------------------

QByteArray SampleLzhStream()
{
    // 'A', "AA"-style literals and matches, long enough to reach the buffers.
    std::string bits = "111001101 111001101 000 000000";
    for (int i = 0; i < 200; ++i)
        bits += (i % 3 == 0) ? "10001100 0010 100100" : "1100 0101 0110 1001";
    return Header("LZH", 4000, 0) + FromBits(bits);
}

TEST(ResCompressDamage, TruncatedFlippedAndRandomStreamsEndInAnExceptionOrOutput)
{
    QFile resource(":/CMPBMP/IDB_INTERRUPT");
    ASSERT_TRUE(resource.open(QIODevice::ReadOnly));
    const QByteArray good = resource.readAll();
    std::vector<QByteArray> damaged;
    for (qsizetype cut = 0; cut < good.size(); cut += 3)
        damaged.push_back(good.left(cut));
    for (qsizetype byte = 0; byte < good.size(); ++byte)
        for (int bit = 0; bit < 8; bit += 3) {
            QByteArray flipped = good;
            flipped[byte] = char(flipped[byte] ^ (1 << bit));
            damaged.push_back(flipped);
        }
    std::uint32_t seed = 12345;
    for (int n = 0; n < 200; ++n) {
        QByteArray junk = Header(n % 2 ? "LZH" : "RLE", 3000 + n, 0);
        for (int i = 0; i < 300; ++i) {
            seed = seed * 1664525u + 1013904223u;
            junk.append(char(seed >> 24));
        }
        damaged.push_back(junk);
    }
    damaged.push_back(SampleLzhStream());

    int failures = 0;
    for (const QByteArray& stream : damaged) {
        const TCaught caught = Catch([&] { Expand(stream); });
        ASSERT_NE(caught.kind, TFailure::Other) << caught.text;
        ASSERT_NE(caught.kind, TFailure::Stream) << caught.text;
        failures += caught.kind != TFailure::None;
    }
    EXPECT_GT(failures, int(damaged.size()) / 2);
}

}  // namespace
}  // namespace spades
