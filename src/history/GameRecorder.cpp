#include "GameRecorder.h"

#include "RuleText.h"
#include "SeatKind.h"

namespace spades {

std::array<int, 52> DealOf(const TDeck& deck)
{
    std::array<int, 52> deal{};
    for (size_t i = 0; i < 52; ++i)
        deal[i] = deck.FDeck[i + 1];
    return deal;
}

std::array<uint8_t, 53> DeckOrder(const std::array<int, 52>& deal)
{
    std::array<uint8_t, 53> order{};
    for (size_t i = 0; i < 52; ++i)
        order[i + 1] = static_cast<uint8_t>(deal[i]);
    return order;
}

std::array<TGameSeat, 5> SeatsOf(const TTableState& table)
{
    std::array<TGameSeat, 5> seats;
    for (int seat = North; seat <= West; ++seat) {
        const TPlayer& player = table.Player(seat);
        // A player at another machine is kept as a person's seat: the file knows
        // persons, the computer and the Expert, so every reader of it reads it right.
        seats[static_cast<size_t>(seat)] = {QString::fromStdString(player.FName),
                                            SeatTypeOf(HistoryValue(SeatKindOf(player)))};
    }
    return seats;
}

template <typename TWork>
void TGameRecorder::Write(TWork&& work)
{
    if (!FStore.IsOpen())
        return;
    try {
        work();
    } catch (const EHistoryError& error) {
        FStore.Fail(error.Text());
        FProblem = FStore.Problem();
        FGame = 0;
    }
}

void TGameRecorder::GameStarted(const TSpadesGame& game, const std::array<TGameSeat, 5>& seats)
{
    FGame = 0;
    FHandOpen = false;
    FHand = {};
    Write([&] {
        TGameRecord record;
        record.Started = QDateTime::currentDateTimeUtc();
        record.WinScore = game.FRules.WinScore;
        record.Seats = seats;
        record.Rules = QString::fromStdString(HouseRulesText(game.FRules));
        FGame = FStore.BeginGame(record);
    });
}

void TGameRecorder::Continue(qint64 gameId, int handsScored)
{
    FGame = FStore.IsOpen() ? gameId : 0;
    FHandOpen = false;
    FHand = {};
    FHand.Number = handsScored;
}

void TGameRecorder::HandDealt(const TSpadesGame& game)
{
    if (!Recording())
        return;
    const int number = FHand.Number + 1;
    FHand = {};
    FHand.Number = number;
    FHand.FirstSeat = game.FTurnOrder[1];
    FHand.Deal = DealOf(game.Deck);
    FHand.Plays.reserve(52);
    FHandOpen = true;
    Write([&] { FStore.WriteHand(FGame, FHand); });
}

void TGameRecorder::TrickDone(const TTableState& table)
{
    if (!Recording() || !FHandOpen)
        return;
    for (int place = 1; place <= 4 && FHand.Plays.size() < 52; ++place)
        FHand.Plays.push_back(table.Place(place).FValue);
}

void TGameRecorder::HandScored(const TSpadesGame& game, int winnerSeat)
{
    if (!Recording() || !FHandOpen)
        return;
    FHandOpen = false;
    for (int seat = North; seat <= West; ++seat) {
        const TPlayer& player = game.Table.Player(seat);
        const size_t s = static_cast<size_t>(seat);
        FHand.Bids[s] = player.FBid;
        FHand.Tricks[s] = player.FTricks;
        FHand.Bags[s] = player.FBags;
        FHand.Scores[s] = player.FScore;
    }
    FHand.Scored = true;
    // Partners win together.
    const int partner = winnerSeat != 0 && game.FRules.Partnership() ? PartnerOf(winnerSeat) : 0;
    Write([&] { FStore.WriteHand(FGame, FHand, winnerSeat, partner); });
    if (winnerSeat != 0)
        FGame = 0;
}

void TGameRecorder::Undone(int card)
{
    if (!Recording())
        return;
    if (FHandOpen && FHand.Undone.size() < 52)
        FHand.Undone.push_back(card);
    Write([&] { FStore.CountUndo(FGame); });
}

void TGameRecorder::GameAbandoned()
{
    if (!Recording())
        return;
    Write([&] { FStore.AbandonUnfinished(); });
    FGame = 0;
}

QString TGameRecorder::TakeProblem()
{
    QString problem;
    std::swap(problem, FProblem);
    return problem;
}

}  // namespace spades
