#include "TableHistory.h"

#include <QApplication>
#include <QTimer>

#include "HandReviewDialog.h"
#include "HistoryQueries.h"
#include "HistoryRules.h"
#include "LblEffct.h"
#include "Sleeper.h"
#include "SpadesU.h"
#include "StatsDialog.h"
#include "TableScene.h"
#include "TableScoreSheet.h"

namespace spades {

QString ScoreLine(const std::array<TGameSeat, 5>& seats, const TSeatInts& scores)
{
    QStringList parts;
    for (int seat = North; seat <= West; ++seat)
        parts << seats[static_cast<size_t>(seat)].Name + ' ' + QString::number(scores[static_cast<size_t>(seat)]);
    return parts.join(", ");
}

TTableHistory::TTableHistory(TfrmMain& window, const QString& path)
    : FWindow(window), FStore(path.isEmpty() ? DefaultHistoryPath() : path), FRecorder(FStore)
{
}

TTableHistory::~TTableHistory() = default;

void TTableHistory::ShowProblem(const QString& problem)
{
    if (problem.isEmpty() || FProblemShown)
        return;
    FProblemShown = true;
    FWindow.Prompts().Notice(TNoticeKind::Warning, problem);
}

void TTableHistory::Open()
{
    if (!FStore.Open()) {
        ShowProblem(FStore.Problem());
        return;
    }
    // Once the window is up: the question belongs over the table.
    QTimer::singleShot(0, this, [this] { OfferResume(); });
}

void TTableHistory::Close() { FStore.Close(); }

// ---- Recording -------------------------------------------------------------------------------------

void TTableHistory::GameStarted()
{
    FReplaying = false;
    FLeftGame.reset();
    FRecorder.GameStarted(Game(), SeatsOf(Game().Table));
    ShowProblem(FRecorder.TakeProblem());
}

void TTableHistory::HandDealt(const TSpadesGame& game, int)
{
    if (FReplaying)
        return;
    FRecorder.HandDealt(game);
    ShowProblem(FRecorder.TakeProblem());
}

void TTableHistory::TrickFull(const TSpadesGame& game)
{
    if (!FReplaying)
        FRecorder.TrickDone(game.Table);
}

void TTableHistory::Undone(int card)
{
    if (FReplaying)
        return;
    FRecorder.Undone(card);
    ShowProblem(FRecorder.TakeProblem());
}

void TTableHistory::HandScored(const TSpadesGame& game, const TScoreResult& result)
{
    if (FReplaying)
        return;
    FRecorder.HandScored(game, result.WinnerSeat);
    ShowProblem(FRecorder.TakeProblem());
}

void TTableHistory::GameGivenUp()
{
    if (FLeftGame) {
        FRecorder.Reattach(FLeftGame->Recording);
        FLeftGame.reset();
    }
    FReplaying = false;
    FRecorder.GameAbandoned();
    ShowProblem(FRecorder.TakeProblem());
}

bool TTableHistory::StopAfterHand()
{
    if (!FReplaying)
        return false;
    emit replayFinished();
    LeaveReplay();
    return true;
}

void TTableHistory::LeaveReplay()
{
    if (!FReplaying)
        return;
    FReplaying = false;
    Game().Script.reset();
    // Not once another replay has begun.
    WhenIdle([this] { BackFromReplay(); }, [this, replay = FReplays] { return !FReplaying && FReplays == replay; });
}

void TTableHistory::DropWaitingGame()
{
    if (!FLeftGame)
        return;
    // Recorded again, so that the next game closes it.
    FRecorder.Reattach(FLeftGame->Recording);
    FLeftGame.reset();
}

void TTableHistory::BackFromReplay()
{
    if (FReplaying)
        return;  // another replay began in the meantime
    if (!FLeftGame) {
        FWindow.ClearTable();
        return;
    }
    TLeftGame left = std::move(*FLeftGame);
    FLeftGame.reset();
    FRecorder.Reattach(left.Recording);
    FWindow.ReturnTo(left.Table);
}

// ---- Continuing a game, watching a hand ------------------------------------------------------------

void TTableHistory::WhenIdle(std::function<void()> work, std::function<bool()> still)
{
    if (still && !still())
        return;
    TTableSteps& steps = FWindow.Steps();
    if (!steps.Busy()) {
        work();
        return;
    }
    // Like New Game: the running steps stop at their next resume point, and the
    // work runs from the event loop once the last of them has returned.
    steps.Supersede();
    connect(
        &steps, &TTableSteps::idle, this,
        [this, work = std::move(work), still = std::move(still)]() mutable { WhenIdle(std::move(work), std::move(still)); },
        static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
}

void TTableHistory::StartFrom(const TStart& start, std::optional<TSpadesGame::TScript> script)
{
    THandCycle::TStartPoint point;
    std::array<TSeatKind, 5> kinds{};
    for (int seat = North; seat <= West; ++seat) {
        const size_t s = static_cast<size_t>(seat);
        point.Names[s] = start.Seats[s].Name.toStdString();
        point.Scores[s] = start.Scores[s];
        point.TotalBags[s] = start.TotalBags[s];
        // A replay's seats all play their record.
        const TSeatType type = start.Replay ? TSeatType::Computer : start.Seats[s].Type;
        kinds[s] = SeatKindFromHistory(static_cast<int>(type));
    }
    point.FirstSeat = start.FirstSeat;
    point.Rules = start.Rules;
    if (start.Deal)
        point.Deal = DeckOrder(*start.Deal);
    FWindow.StartFrom(point, kinds, std::move(script));
}

void TTableHistory::OfferResume()
{
    if (!FStore.IsOpen() || FRecorder.Recording() || FReplaying)
        return;
    std::optional<TResumePoint> point;
    try {
        point = FStore.Unfinished();
    } catch (const EHistoryError& error) {
        FStore.Fail(error.Text());
        ShowProblem(FStore.Problem());
        return;
    }
    if (!point)
        return;
    const QString text = "Your last game, begun " +
                         point->Game.Started.toLocalTime().toString("yyyy-MM-dd hh:mm") + ", was not finished.\r" +
                         (point->HandsScored ? "Scores after " + QString::number(point->HandsScored) +
                                                   (point->HandsScored == 1 ? " hand: " : " hands: ") +
                                                   ScoreLine(point->Game.Seats, point->Scores) + ".\r"
                                             : QString()) +
                         [&] {
                             const QString problem = GameRules(point->Game).Problem;
                             return problem.isEmpty() ? QString() : "\r" + problem + "\r";
                         }() +
                         "\rDo you want to continue it?";
    if (FWindow.Prompts().Ask(text))
        Resume(*point);
}

void TTableHistory::Resume(const TResumePoint& point)
{
    WhenIdle([this, point] {
        FReplaying = false;
        FRecorder.Continue(point.Game.Id, point.HandsScored);
        RestoreScoreSheet(point.Game.Id, point.HandsScored);
        FWindow.Cycle().SetWinScore(point.Game.WinScore);
        StartFrom({point.Game.Seats, point.Scores, point.TotalBags, point.FirstSeat, point.Deal, false,
                   GameRules(point.Game).Rules},
                  std::nullopt);
    });
}

void TTableHistory::RestoreScoreSheet(qint64 gameId, int handsScored)
{
    TScoreSheet& sheet = FWindow.ScoreSheet().Sheet();
    sheet.Clear();
    try {
        for (int number = 1; number <= handsScored; ++number) {
            const auto hand = LoadHand(FStore.Database(), gameId, number);
            if (!hand)
                break;
            const auto seats = [](const TSeatInts& values) {
                return TScoreSheet::TSeatValues{values[1], values[2], values[3], values[4]};
            };
            sheet.AddHand(seats(hand->Bids), seats(hand->Tricks), seats(hand->Bags), seats(hand->Scores));
        }
    } catch (const EHistoryError&) {
        // The sheet shows what could be read; the game itself goes on.
    }
}

bool TTableHistory::StartReplay(qint64 gameId, int number)
{
    std::optional<TGameRecord> game;
    std::optional<THandRecord> hand;
    TStart start;
    try {
        if (FStore.IsOpen()) {
            game = LoadGame(FStore.Database(), gameId);
            hand = LoadHand(FStore.Database(), gameId, number);
            const TBeforeHand before = BeforeHand(FStore.Database(), gameId, number);
            start.Scores = before.Scores;
            start.TotalBags = before.TotalBags;
        }
    } catch (const EHistoryError&) {
        hand.reset();
    }
    if (!game || !hand) {
        FWindow.Prompts().Notice(TNoticeKind::Error, QStringLiteral("Hand %1 of game %2 cannot be read from the game history.")
                                                         .arg(number)
                                                         .arg(gameId));
        return false;
    }
    start.Seats = game->Seats;
    start.FirstSeat = hand->FirstSeat;
    start.Deal = hand->Deal;
    start.Replay = true;
    start.Rules = GameRules(*game).Rules;
    TSpadesGame::TScript script;
    script.Bids = hand->Bids;
    script.Plays = hand->Plays;
    WhenIdle([this, start, script, winScore = game->WinScore] {
        // The game in play waits, as it stands, to be gone back to; the file keeps it unfinished.
        if (!FReplaying && !FLeftGame)
            FLeftGame = TLeftGame{FWindow.Moment(), FRecorder.Position()};
        FRecorder.Detach();
        FReplaying = true;
        ++FReplays;
        FWindow.Cycle().SetWinScore(winScore);
        StartFrom(start, script);
    });
    return true;
}

bool TTableHistory::CanReviewLastHand() const
{
    return FStore.IsOpen() && !FReplaying && FRecorder.GameId() != 0;
}

void TTableHistory::ReviewLastHand()
{
    if (!CanReviewLastHand())
        return;
    std::optional<TReviewHand> hand;
    std::array<QString, 5> names;
    const qint64 game = FRecorder.GameId();
    int number = 0;
    try {
        number = ScoredHands(FStore.Database(), game);
        hand = LoadReviewHand(FStore.Database(), game, number, names);
    } catch (const EHistoryError&) {
        hand.reset();
    }
    if (!hand) {
        FWindow.Prompts().Notice(TNoticeKind::Error,
                                 QStringLiteral("Hand %1 of game %2 cannot be read from the game history.").arg(number).arg(game));
        return;
    }
    TdlgHandReview review(*hand, names, QApplication::activeModalWidget() ? QApplication::activeModalWidget() : &FWindow);
    FWindow.Prompts().RunDialog(review);
}

void TTableHistory::mniGameStatsClick()
{
    if (!FStore.IsOpen()) {
        FWindow.Prompts().Notice(TNoticeKind::Information,
                                 "There is no game history in this run." +
                                     (FStore.Problem().isEmpty() ? QString() : "\r\r" + FStore.Problem()));
        return;
    }
    TdlgStatistics dialog(
        FStore.Database(), FRecorder.GameId(), [this](const QString& text) { return FWindow.Prompts().Ask(text); },
        [this] {
            try {
                FStore.Reset(FRecorder.GameId());
            } catch (const EHistoryError& error) {
                FStore.Fail(error.Text());
                ShowProblem(FStore.Problem());
            }
        },
        &FWindow);
    const int result = FWindow.Prompts().RunDialog(dialog);
    if (result == TdlgStatistics::ReplayResult)
        StartReplay(dialog.ReplayGame(), dialog.ReplayHand());
}

}  // namespace spades
