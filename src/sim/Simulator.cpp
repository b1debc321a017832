#include "Simulator.h"

#include "GameLines.h"

#include <algorithm>
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
    : TSimulator(seed, TRuleSet::WithWinScore(winScore), out, log)
{
}

TSimulator::TSimulator(uint32_t seed, const TRuleSet& rules, std::ostream& out, std::ostream* log)
    : FGame(FHost, seed), FCycle(FGame, rules), FOut(out)
{
    static constexpr std::array<const char*, 5> names = {"", "North", "East", "South", "West"};
    for (int seat = North; seat <= West; ++seat)
        FGame.Table.Player(seat).SetName(names[static_cast<size_t>(seat)]);
    if (log) {
        FLog.emplace(*log);
        FCycle.Watch(*FLog, TPlayLogObserver::Events);
    }
    FCycle.Watch(*this, EventBit(TGameEvent::HandEnded) | EventBit(TGameEvent::HandScored) |
                            EventBit(TGameEvent::GameOver));
}

void TSimulator::AddObserver(TGameObserver* observer)
{
    if (observer)
        FCycle.Watch(*observer);
}

void TSimulator::SetSeats(const std::array<TSeatKind, 5>& seats)
{
    FKinds = seats;
    // Seats play Expert or classic; anything else here is the computer's.
    for (int seat = North; seat <= West; ++seat)
        if (!IsExpert(seat))
            FKinds[static_cast<size_t>(seat)] = TSeatKind::Computer;
    SeatControllers();
}

void TSimulator::SetClaims(int tricksLeft)
{
    FClaimFrom = tricksLeft;
    if (FClaimFrom > 0 && !FSolver)
        FSolver = std::make_unique<TDoubleDummy>();
    SeatControllers();
}

void TSimulator::SeatControllers()
{
    FClaimers.clear();
    for (int seat = North; seat <= West; ++seat) {
        TSeatController& player = IsExpert(seat) ? static_cast<TSeatController&>(FTimedExpert) : FClassic;
        if (FClaimFrom > 0) {
            FClaimers.push_back(std::make_unique<TClaimingController>(player, *FSolver, FClaimFrom));
            FSeats.Set(seat, *FClaimers.back());
        } else {
            FSeats.Set(seat, player);
        }
    }
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

void TSimulator::TTimedController::Ask(TSpadesGame& game, const TWait& wait, TSeatAnswers& answers)
{
    const TStopwatch watch;
    FInner.Ask(game, wait, answers);
    FMilliseconds.push_back(watch.Milliseconds());
}

void TSimulator::HandEnded(const TSpadesGame& game)
{
    CountBids();
    for (int seat = North; seat <= West; ++seat)
        FScoresBefore[static_cast<size_t>(seat)] = game.Table.Player(seat).FScore;
}

void TSimulator::HandScored(const TSpadesGame& game, const TScoreResult& result)
{
    for (int seat = North; seat <= West; ++seat)
        FStats.Points[static_cast<size_t>(seat)] +=
            game.Table.Player(seat).FScore - FScoresBefore[static_cast<size_t>(seat)];
    ++FStats.Hands;
    FStats.BagPenalties += static_cast<long long>(result.Notices.size());
    for (const auto& notice : result.Notices)
        FOut << "notice " << OneLine(notice) << '\n';
    std::string line = HandScoresLine(FCycle.GameNumber(), FCycle.HandNumber(), game.Table);
    line += '\n';
    FOut.write(line.data(), static_cast<std::streamsize>(line.size()));
    for (const auto& message : FHost.Messages)
        FOut << "message " << OneLine(message) << '\n';
    FHost.Messages.clear();
}

void TSimulator::GameOver(const TSpadesGame& game, int winnerSeat)
{
    ++FStats.Games;
    if (winnerSeat == 0) {
        ++FStats.UnfinishedGames;
        FOut << "game " << FCycle.GameNumber() << " unfinished after " << FCycle.HandNumber() << " hands\n";
        return;
    }
    ++FStats.Wins[static_cast<size_t>(winnerSeat)];
    const std::string winner =
        FCycle.Rules().Partnership() ? SideName(SideOf(winnerSeat)) : game.Table.Player(winnerSeat).FName;
    FOut << GameWinnerLine(FCycle.GameNumber(), winner, FCycle.HandNumber()) << '\n';
}

int TSimulator::PlayGame(int gameNumber)
{
    FCycle.NewGame(gameNumber, FKinds);
    for (;;) {
        const TWait& wait = FCycle.Play(FSeats);
        switch (wait.Kind) {
        case TWaitKind::Bid:
        case TWaitKind::Card:
            break;
        case TWaitKind::Pause:
            FCycle.Resume(wait.Turn);
            break;
        case TWaitKind::HandOver:
            if (FCycle.HandNumber() >= FHandLimit)
                FCycle.GiveUp();
            else
                FCycle.NextHand();
            break;
        case TWaitKind::GameOver:
        case TWaitKind::Nothing:
            return FCycle.HandNumber();
        }
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
    const bool sides = FCycle.Rules().Partnership();
    char wins[160];
    if (sides)
        std::snprintf(wins, sizeof wins, "North-South=%lld East-West=%lld", FStats.Wins[1], FStats.Wins[2]);
    else
        std::snprintf(wins, sizeof wins, "North=%lld East=%lld South=%lld West=%lld", FStats.Wins[1], FStats.Wins[2],
                      FStats.Wins[3], FStats.Wins[4]);
    char text[640];
    std::snprintf(text, sizeof text,
                  "summary games %lld hands %lld seconds %.3f hands_per_second %.0f "
                  "bids %lld made %.1f%% exact %.1f%% set %.1f%% nil_bids %lld nil_made %.1f%% "
                  "bag_penalties %lld wins %s "
                  "hands_per_game %.1f unfinished %lld",
                  FStats.Games, FStats.Hands, FStats.Seconds, perSecond, FStats.Bids,
                  percent(FStats.BidsMade, FStats.Bids), percent(FStats.BidsExact, FStats.Bids),
                  percent(FStats.Bids - FStats.BidsMade, FStats.Bids), FStats.NilBids,
                  percent(FStats.NilsMade, FStats.NilBids), FStats.BagPenalties, wins,
                  FStats.Games == 0 ? 0.0 : static_cast<double>(FStats.Hands) / static_cast<double>(FStats.Games),
                  FStats.UnfinishedGames);
    FOut << text;
    if (FClaimFrom > 0) {
        long long claims = 0;
        for (const auto& claimer : FClaimers)
            claims += claimer->Claims();
        FOut << " claims " << claims;
    }
    if (sides) {
        // Both partners carry the side's score: a side's points are its first seat's.
        const auto perHand = [&](int seat) {
            return FStats.Hands == 0 ? 0.0
                                     : static_cast<double>(FStats.Points[static_cast<size_t>(seat)]) /
                                           static_cast<double>(FStats.Hands);
        };
        std::snprintf(text, sizeof text, " points_per_hand North-South=%.2f East-West=%.2f", perHand(North),
                      perHand(East));
        FOut << text;
    }
    FOut << '\n';
}

}  // namespace spades

namespace spades {

void TSimulator::WriteSeatSummary()
{
    static constexpr std::array<const char*, 5> names = {"", "North", "East", "South", "West"};
    FOut << "seats";
    for (int seat = North; seat <= West; ++seat)
        FOut << ' ' << names[static_cast<size_t>(seat)] << '=' << SeatKindWord(FKinds[static_cast<size_t>(seat)]);
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
        std::snprintf(text, sizeof text, " ms_p99 %.2f", times[times.size() * 99 / 100]);
        FOut << text;
    }
    FOut << '\n';
}

}  // namespace spades
