// The window's play log for known deals and choices, kept as its size and
// checksum: any change to the order or content of what the table plays shows here.
#include <gmock/gmock.h>

#include <QSignalSpy>

#include "TableHarness.h"

using namespace spades;
using namespace spades::testing;

namespace {

constexpr int Timeout = 120000;

uint64_t Checksum(const QByteArray& bytes)
{
    uint64_t hash = 1469598103934665603ull;
    for (const char c : bytes) {
        hash ^= static_cast<uint8_t>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

struct TLogCase {
    const char* Name;
    uint32_t Seed;
    std::array<const char*, 5> Types;  // "Computer", "Human" or "Expert" by seat
    int Bid;                           // what the people bid
    bool WholeGame;                    // else the first hand only
    qsizetype Size;
    uint64_t Sum;
};

class TableLogRecord : public ::testing::TestWithParam<TLogCase> {};

TEST_P(TableLogRecord, IsTheSameForTheSameDealAndChoices)
{
    const TLogCase& c = GetParam();
    TTableHarness table;
    table.WriteSettings(SeatSettings(c.Types));
    table.Prompts.DefaultBid = c.Bid;
    TfrmMain& window = table.Open(c.Seed);
    if (!window.LogPlay())
        window.mniOptLogClick();
    ASSERT_TRUE(window.LogPlay());
    QSignalSpy scored(&window, &TfrmMain::handScored);
    QSignalSpy over(&window, &TfrmMain::gameOver);
    window.Steps().Request(TTableRequest::NewGame);
    const auto done = [&] { return c.WholeGame ? !over.isEmpty() : !scored.isEmpty(); };
    while (!done()) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return done() || table.WaitingSeat() != 0; }, Timeout));
        if (!done())
            table.PlayLegalCard();
    }
    window.close();
    QFile file(table.ProgramFolder() + "Spades.Log");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    EXPECT_EQ(written.size(), c.Size);
    EXPECT_EQ(Checksum(written), c.Sum) << std::hex << Checksum(written);
}

INSTANTIATE_TEST_SUITE_P(
    Deals, TableLogRecord,
    ::testing::Values(
        TLogCase{"AllComputerGame", 12345, {"", "Computer", "Computer", "Computer", "Computer"}, 3, true, 18137, 0xb45f5827eee50d9bull},
        TLogCase{"PersonAtSouth", 44, {"", "Computer", "Computer", "Human", "Computer"}, 3, false, 1343, 0x7eadfbfd45730072ull},
        TLogCase{"PersonBidsNil", 7, {"", "Computer", "Computer", "Human", "Computer"}, 0, false, 1343, 0x1c1353e80b532389ull},
        TLogCase{"TwoPeople", 901, {"", "Human", "Computer", "Human", "Computer"}, 4, false, 1340, 0x2f99a8d697df48cbull},
        TLogCase{"ExpertsAndAPerson", 2468, {"", "Expert", "Computer", "Human", "Expert"}, 2, false, 1330, 0xd1dd92f9d484128bull}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
