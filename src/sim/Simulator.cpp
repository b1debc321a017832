#include "Simulator.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>

namespace spades {

namespace {
std::string OneLine(std::string text)
{
    std::replace(text.begin(), text.end(), '\r', ' ');
    return text;
}
}  // namespace

THeadlessHost::THeadlessHost()
{
    for (int seat = North; seat <= West; ++seat)
        for (int slot = 1; slot <= 13; ++slot)
            FCards[static_cast<size_t>(seat * 14 + slot)].FName = std::string(TCardName(seat, slot).View());
}

TCardControl* THeadlessHost::CardAt(int seat, int slot)
{
    if (seat < North || seat > West || slot < 1 || slot > 13)
        return nullptr;
    return &FCards[static_cast<size_t>(seat * 14 + slot)];
}

TCardControl* THeadlessHost::FindCard(std::string_view name)
{
    for (auto& card : FCards)
        if (!card.FName.empty() && card.FName == name)
            return &card;
    return nullptr;
}

TSimulator::TSimulator(uint32_t seed, int winScore, std::ostream& out, std::ostream* log)
    : FGame(FHost, seed), FOut(out), FLogStream(log), FLog(log ? *log : out)
{
    FGame.FWinScore = winScore;
    static constexpr std::array<const char*, 5> names = {"", "North", "East", "South", "West"};
    for (int seat = North; seat <= West; ++seat)
        FGame.Table.Player(seat).SetName(names[static_cast<size_t>(seat)]);
}

void TSimulator::CountBids()
{
    for (int seat = North; seat <= West; ++seat) {
        const TPlayer& player = FGame.Table.Player(seat);
        if (player.FBid == 0) {
            ++FStats.NilBids;
            FStats.NilsMade += player.FTricks == 0;
        } else {
            ++FStats.Bids;
            FStats.BidsMade += player.FTricks >= player.FBid;
            FStats.BidsExact += player.FTricks == player.FBid;
        }
    }
}

void TSimulator::SetSeats(const std::array<TSimSeat, 5>& seats)
{
    FSeats = seats;
    for (int seat = North; seat <= West; ++seat)
        FGame.Table.Player(seat).FExpert = IsExpert(seat);
}

namespace {
class TStopwatch {
public:
    double Milliseconds() const
    {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - FStart).count();
    }

private:
    std::chrono::steady_clock::time_point FStart = std::chrono::steady_clock::now();
};
}  // namespace

void TSimulator::Bid(int seat)
{
    if (!IsExpert(seat)) {
        FGame.ComputerBid(seat);
        return;
    }
    const TStopwatch watch;
    const int bid = FExpert.ChooseBid(ViewOf(FGame, seat));
    FStats.ExpertMilliseconds.push_back(watch.Milliseconds());
    FGame.PersonBid(seat, bid);
}

void TSimulator::PlayTurn()
{
    const int seat = FGame.SeatToPlay();
    if (IsExpert(seat)) {
        PlayExpertTurn(FGame.Table.Player(seat));
        return;
    }
    if (FObserver)  // asking twice is harmless: the choice has no side effects
        FObserver->CardChosen(FGame, seat, FGame.Table.Player(seat).ChooseCard());
    FGame.PlayComputerTurn();
}

void TSimulator::PlayExpertTurn(TPlayer& player)
{
    const TStopwatch watch;
    const int card = FExpert.ChooseCard(ViewOf(FGame, player.FSeat));
    FStats.ExpertMilliseconds.push_back(watch.Milliseconds());
    int slot = 1;
    while (slot < 13 && player.FHand[static_cast<size_t>(slot)] != card)
        ++slot;
    if (FObserver)
        FObserver->CardChosen(FGame, player.FSeat, slot);
    FGame.PlayPersonCard(player.FSeat, slot);
}

void TSimulator::PlayHand()
{
    FGame.BeginHand();
    if (FObserver)
        FObserver->HandDealt(FGame);
    for (int i = 1; i <= 4; ++i)
        Bid(FGame.Bidder(i));
    FGame.StartPlay();
    if (FLogStream)
        FLog.LogHandStart(FGame.Table);

    for (;;) {
        while (!FGame.TrickFull())
            PlayTurn();
        if (FLogStream)
            FLog.LogTrick(FGame.Table);
        const int winner = FGame.ResolveTrick();
        if (FObserver)
            FObserver->TrickDone(FGame, winner);
        FGame.HideTrickCards();
        if (FGame.HandOver())
            break;
        FGame.ClearTrick();
        FGame.StartNextTrick(winner);
    }
    if (FLogStream)
        FLog.LogHandEnd(FGame.Table);
    CountBids();
}

int TSimulator::PlayGame(int gameNumber)
{
    FGame.NewGame({});
    if (FObserver)
        FObserver->GameStarted(FGame, gameNumber);
    for (int hand = 1;; ++hand) {
        PlayHand();
        std::array<int, 5> before{};
        for (int seat = North; seat <= West; ++seat)
            before[static_cast<size_t>(seat)] = FGame.Table.Player(seat).FScore;
        const TScoreResult result = FGame.ScoreHand();
        for (int seat = North; seat <= West; ++seat)
            FStats.Points[static_cast<size_t>(seat)] += FGame.Table.Player(seat).FScore - before[static_cast<size_t>(seat)];
        ++FStats.Hands;
        FStats.BagPenalties += static_cast<long long>(result.Notices.size());
        if (FObserver)
            FObserver->HandScored(FGame, result);
        for (const auto& notice : result.Notices)
            FOut << "notice " << OneLine(notice) << '\n';
        // One write per line: this line comes every hand.
        char line[96];
        char* end = line + sizeof line;
        char* out = std::copy_n("hand ", 5, line);
        out = std::to_chars(out, end, gameNumber).ptr;
        *out++ = '.';
        out = std::to_chars(out, end, hand).ptr;
        out = std::copy_n(" scores", 7, out);
        for (int seat = North; seat <= West; ++seat) {
            *out++ = ' ';
            out = std::to_chars(out, end, FGame.Table.Player(seat).FScore).ptr;
        }
        *out++ = '\n';
        FOut.write(line, out - line);
        for (const auto& message : FHost.Messages)
            FOut << "message " << OneLine(message) << '\n';
        FHost.Messages.clear();

        if (result.WinnerSeat != 0) {
            ++FStats.Games;
            ++FStats.Wins[static_cast<size_t>(result.WinnerSeat)];
            FOut << "game " << gameNumber << " winner " << result.WinnerName << " after " << hand << " hands\n";
            if (FObserver)
                FObserver->GameEnded(FGame, gameNumber, result.WinnerSeat);
            return hand;
        }
        if (hand >= FHandLimit) {
            ++FStats.Games;
            ++FStats.UnfinishedGames;
            FOut << "game " << gameNumber << " unfinished after " << hand << " hands\n";
            if (FObserver)
                FObserver->GameEnded(FGame, gameNumber, 0);
            return hand;
        }
        FGame.PrepareNextHand();
    }
}

void TSimulator::Run(int games)
{
    const auto start = std::chrono::steady_clock::now();
    for (int game = 1; game <= games; ++game)
        PlayGame(game);
    FStats.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    WriteSummary();
}

void TSimulator::WriteSummary()
{
    const auto percent = [](long long part, long long whole) {
        return whole == 0 ? 0.0 : 100.0 * static_cast<double>(part) / static_cast<double>(whole);
    };
    const double perSecond = FStats.Seconds > 0 ? static_cast<double>(FStats.Hands) / FStats.Seconds : 0.0;
    char text[512];
    std::snprintf(text, sizeof text,
                  "summary games %lld hands %lld seconds %.3f hands_per_second %.0f "
                  "bids %lld made %.1f%% exact %.1f%% set %.1f%% nil_bids %lld nil_made %.1f%% "
                  "bag_penalties %lld wins North=%lld East=%lld South=%lld West=%lld "
                  "hands_per_game %.1f unfinished %lld",
                  FStats.Games, FStats.Hands, FStats.Seconds, perSecond, FStats.Bids,
                  percent(FStats.BidsMade, FStats.Bids), percent(FStats.BidsExact, FStats.Bids),
                  percent(FStats.Bids - FStats.BidsMade, FStats.Bids), FStats.NilBids,
                  percent(FStats.NilsMade, FStats.NilBids), FStats.BagPenalties, FStats.Wins[1], FStats.Wins[2],
                  FStats.Wins[3], FStats.Wins[4],
                  FStats.Games == 0 ? 0.0 : static_cast<double>(FStats.Hands) / static_cast<double>(FStats.Games),
                  FStats.UnfinishedGames);
    FOut << text << '\n';
}

}  // namespace spades

namespace spades {

void TSimulator::WriteSeatSummary()
{
    static constexpr std::array<const char*, 5> names = {"", "North", "East", "South", "West"};
    FOut << "seats";
    for (int seat = North; seat <= West; ++seat)
        FOut << ' ' << names[static_cast<size_t>(seat)] << '=' << (IsExpert(seat) ? "expert" : "classic");
    FOut << " points_per_hand";
    char text[64];
    for (int seat = North; seat <= West; ++seat) {
        const double perHand = FStats.Hands == 0 ? 0.0
                                                 : static_cast<double>(FStats.Points[static_cast<size_t>(seat)]) /
                                                       static_cast<double>(FStats.Hands);
        std::snprintf(text, sizeof text, " %s=%.2f", names[static_cast<size_t>(seat)], perHand);
        FOut << text;
    }
    std::vector<double> times = FStats.ExpertMilliseconds;
    if (!times.empty()) {
        std::sort(times.begin(), times.end());
        double total = 0;
        for (double t : times)
            total += t;
        std::snprintf(text, sizeof text, " expert_decisions %zu ms_mean %.2f", times.size(),
                      total / static_cast<double>(times.size()));
        FOut << text;
        std::snprintf(text, sizeof text, " ms_median %.2f ms_max %.2f", times[times.size() / 2], times.back());
        FOut << text;
    }
    FOut << '\n';
}

}  // namespace spades
