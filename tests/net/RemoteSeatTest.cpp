// A seat played from another machine, as the hand cycle sees it: asked, it puts
// a Turn on the wire and waits; the player's answer for that turn counts, any
// other is refused with the wire's error, and the computer takes the turn when
// the host gives it away or nobody is there to ask.
#include <gmock/gmock.h>

#include <functional>

#include "HandCycle.h"
#include "NullHost.h"
#include "RemoteSeat.h"

using namespace spades;
using namespace spades::net;

namespace {

class TFakeWire : public THostWire {
public:
    void SendTo(int, const TMessage&) override {}
    void Broadcast(const TMessage& m) override
    {
        if (const auto* turn = std::get_if<TTurnMsg>(&m))
            Turns.push_back(*turn);
    }
    bool Connected(int seat) const override { return seat == South && SouthConnected; }

    bool SouthConnected = true;
    std::vector<TTurnMsg> Turns;
};

// South, played from afar, bids first and leads the first trick; the others are the computer's.
struct TTable {
    explicit TTable(uint32_t seed, bool connected) : game(host, seed), cycle(game), turns(wire, 5000), south(turns, classic)
    {
        wire.SouthConnected = connected;
        seats.Set(South, south);
        cycle.NewGame(1, {TSeatKind::Computer, TSeatKind::Computer, TSeatKind::Computer, TSeatKind::Remote,
                          TSeatKind::Computer});
        cycle.Play(seats);
    }
    // Bids for South, plays the computer's turns and stops at South's lead.
    void ToTheLead()
    {
        ASSERT_FALSE(turns.Bid(South, turns.Waiting()->Turn, 3).has_value());
        cycle.Play(seats);
        ASSERT_TRUE(turns.Waiting().has_value());
        ASSERT_EQ(turns.Waiting()->Kind, TTurnKind::Card);
    }
    const TPlayer& Me() const { return game.Table.Player(South); }
    // A card of South's of the given suit (0: none).
    int CardOf(int suit) const
    {
        for (int card : Me().FHand)
            if (card >= 1 && card <= 52 && CardSuit(static_cast<uint8_t>(card)) == suit)
                return card;
        return 0;
    }
    int AnotherSeatsCard() const
    {
        for (int card : game.Table.Player(West).FHand)
            if (card >= 1 && card <= 52)
                return card;
        return 0;
    }

    TNullHost host;
    TSpadesGame game;
    THandCycle cycle;
    TFakeWire wire;
    TRemoteTurns turns;
    TClassicController classic;
    TRemoteController south;
    TSeatControllers seats;
};

struct TRemoteCase {
    const char* Name;
    bool Connected = true;
    bool ToTheLead = false;
    // What happens at South's turn; the error it is answered with, if any.
    std::function<std::optional<TErrorMsg>(TTable&)> Act;
    std::optional<TErrorCode> Error;  // and then the question still stands
    bool SouthHasAnswered = true;     // otherwise
    size_t TurnsSent = 1;             // Turn messages on the wire in all
};

class RemoteController : public ::testing::TestWithParam<TRemoteCase> {};

TEST_P(RemoteController, AnswersThroughItsConnectionOrItsComputer)
{
    const TRemoteCase& c = GetParam();
    TTable t(12, c.Connected);
    if (c.ToTheLead)
        t.ToTheLead();
    const auto hand = t.Me().FHand;
    const uint32_t engineTurn = t.cycle.Waiting().Turn;
    const auto error = c.Act(t);
    ASSERT_EQ(error.has_value(), c.Error.has_value()) << (error ? error->Text : "");
    EXPECT_EQ(t.wire.Turns.size(), c.TurnsSent);
    if (c.Error) {
        EXPECT_EQ(error->Code, *c.Error);
        EXPECT_FALSE(error->Text.empty());
        EXPECT_EQ(t.Me().FHand, hand) << "a refusal changes nothing";
        ASSERT_TRUE(t.turns.Waiting().has_value());
        EXPECT_EQ(t.cycle.Waiting().Turn, engineTurn);
        return;
    }
    EXPECT_FALSE(t.turns.Waiting().has_value() && t.turns.Waiting()->Seat == South && t.cycle.Waiting().Turn == engineTurn);
    EXPECT_EQ(c.ToTheLead ? t.Me().FCardCount < 13 : t.cycle.HasBid(South), c.SouthHasAnswered);
}

const auto NowTurn = [](TTable& t) { return t.turns.Waiting() ? t.turns.Waiting()->Turn : 0u; };

INSTANTIATE_TEST_SUITE_P(
    Cases, RemoteController,
    ::testing::Values(
        TRemoteCase{"BidInTime", true, false, [](TTable& t) { return t.turns.Bid(South, NowTurn(t), 4); }, std::nullopt},
        TRemoteCase{"CardInTime", true, true,
                    [](TTable& t) { return t.turns.Play(South, NowTurn(t), t.CardOf(Hearts) ? t.CardOf(Hearts) : t.CardOf(Clubs)); },
                    std::nullopt, true, 2},
        TRemoteCase{"AFutureTurn", true, false, [](TTable& t) { return t.turns.Bid(South, NowTurn(t) + 1, 4); },
                    TErrorCode::OutOfTurn},
        TRemoteCase{"AStaleTurn", true, true, [](TTable& t) { return t.turns.Play(South, 1, t.CardOf(Hearts)); },
                    TErrorCode::TooLate, true, 2},
        TRemoteCase{"ACardForTheBid", true, false, [](TTable& t) { return t.turns.Play(South, NowTurn(t), t.CardOf(Hearts)); },
                    TErrorCode::OutOfTurn},
        TRemoteCase{"ABidOutOfRange", true, false, [](TTable& t) { return t.turns.Bid(South, NowTurn(t), 14); },
                    TErrorCode::BidOutOfRange},
        TRemoteCase{"AnotherSeatsCard", true, true, [](TTable& t) { return t.turns.Play(South, NowTurn(t), t.AnotherSeatsCard()); },
                    TErrorCode::CardNotHeld, true, 2},
        TRemoteCase{"LeadingUnbrokenSpades", true, true, [](TTable& t) { return t.turns.Play(South, NowTurn(t), t.CardOf(Spades)); },
                    TErrorCode::SpadesNotOpened, true, 2},
        TRemoteCase{"TimeOutGivesTheBidToTheComputer", true, false,
                    [](TTable& t) {
                        const uint32_t turn = NowTurn(t);
                        t.turns.PlayAbsent();
                        const auto late = t.turns.Bid(South, turn, 4);
                        EXPECT_TRUE(late && late->Code == TErrorCode::TooLate);
                        return std::optional<TErrorMsg>{};
                    },
                    std::nullopt},
        TRemoteCase{"TimeOutGivesTheCardToTheComputer", true, true,
                    [](TTable& t) {
                        t.turns.PlayAbsent();
                        return std::optional<TErrorMsg>{};
                    },
                    std::nullopt, true, 2},
        TRemoteCase{"NobodyThereTheComputerAnswersAtOnce", false, false,
                    [](TTable&) { return std::optional<TErrorMsg>{}; }, std::nullopt, true, 0},
        TRemoteCase{"ANewGameVoidsTheQuestion", true, false,
                    [](TTable& t) {
                        const uint32_t turn = NowTurn(t);
                        t.seats.Cancel(t.cycle.Waiting());
                        t.cycle.NewGame(2, t.seats.Kinds());
                        EXPECT_FALSE(t.turns.Waiting().has_value());
                        const auto late = t.turns.Bid(South, turn, 4);
                        EXPECT_TRUE(late && late->Code == TErrorCode::TooLate);
                        return std::optional<TErrorMsg>{};
                    },
                    std::nullopt, false}),
    [](const auto& info) { return std::string(info.param.Name); });

// Every refusal of the table reaches the player as the wire's code, with the table's words.
struct TErrorCase {
    TRefusalKind Kind;
    TErrorCode Code;
    const char* Text;
};
class RefusalOnTheWire : public ::testing::TestWithParam<TErrorCase> {};
TEST_P(RefusalOnTheWire, KeepsItsCodeAndWords)
{
    const TErrorMsg error = ErrorOf({GetParam().Kind});
    EXPECT_EQ(error.Code, GetParam().Code);
    EXPECT_EQ(error.Text, GetParam().Text);
}
INSTANTIATE_TEST_SUITE_P(
    Kinds, RefusalOnTheWire,
    ::testing::Values(TErrorCase{TRefusalKind::TooLate, TErrorCode::TooLate, "that turn is over"},
                      TErrorCase{TRefusalKind::NotYourTurnToBid, TErrorCode::OutOfTurn, "it is not your turn to bid"},
                      TErrorCase{TRefusalKind::NotYourTurnToPlay, TErrorCode::OutOfTurn, "it is not your turn to play"},
                      TErrorCase{TRefusalKind::BidOutOfRange, TErrorCode::BidOutOfRange, "a bid is Nil (0) or 1 to 13"},
                      TErrorCase{TRefusalKind::CardNotHeld, TErrorCode::CardNotHeld, "you do not hold that card"},
                      TErrorCase{TRefusalKind::MustFollowSuit, TErrorCode::MustFollowSuit, "You must follow suit"},
                      TErrorCase{TRefusalKind::SpadesNotOpened, TErrorCode::SpadesNotOpened,
                                 "Spades have not been opened!"}));

}  // namespace
