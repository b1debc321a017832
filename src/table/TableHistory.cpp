#include "TableHistory.h"

#include <QApplication>
#include <QTimer>

#include "HandReviewDialog.h"
#include "HistoryQueries.h"
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
    TTableState& table = FWindow.FGame.Table;
    FRecorder.GameStarted(FWindow.FGame, SeatsOf(table));
    ShowProblem(FRecorder.TakeProblem());
}

void TTableHistory::HandDealt()
{
    if (FReplaying)
        return;
    FRecorder.HandDealt(FWindow.FGame);
    ShowProblem(FRecorder.TakeProblem());
}

void TTableHistory::TrickDone()
{
    if (!FReplaying)
        FRecorder.TrickDone(FWindow.FGame.Table);
}

void TTableHistory::Undone(int card)
{
    if (FReplaying)
        return;
    FRecorder.Undone(card);
    ShowProblem(FRecorder.TakeProblem());
}

void TTableHistory::HandScored(int winnerSeat)
{
    if (FReplaying)
        return;
    FRecorder.HandScored(FWindow.FGame, winnerSeat);
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
    FWindow.FGame.Script.reset();
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
    if (!FWindow.FSteps.Busy()) {
        work();
        return;
    }
    // Like New Game: the running steps stop at their next resume point, and the
    // work runs from the event loop once the last of them has returned.
    FWindow.FSteps.Supersede();
    connect(
        &FWindow.FSteps, &TTableSteps::idle, this,
        [this, work = std::move(work), still = std::move(still)]() mutable { WhenIdle(std::move(work), std::move(still)); },
        static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
}

void TTableHistory::StartFrom(const TStart& start, std::optional<TSpadesGame::TScript> script)
{
    TfrmMain& w = FWindow;
    TSpadesGame& game = w.FGame;
    w.FSteps.Supersede();
    w.LabelEffect1->SetCaption({});
    game.Table.StopRequested = false;
    std::array<bool, 5> human{};
    for (int seat = North; seat <= West; ++seat)
        human[static_cast<size_t>(seat)] =
            !start.Replay && start.Seats[static_cast<size_t>(seat)].Type == TSeatType::Person;
    game.NewGame(human);
    game.Table.AllComputer = true;
    for (int seat = North; seat <= West; ++seat) {
        const size_t s = static_cast<size_t>(seat);
        TPlayer& player = game.Table.Player(seat);
        player.SetName(start.Seats[s].Name.toStdString());
        w.Scene().SetSeatName(seat, start.Seats[s].Name);
        player.FScore = start.Scores[s];
        player.FTotalBags = start.TotalBags[s];
        player.FExpert = !start.Replay && start.Seats[s].Type == TSeatType::Expert;
        if (human[s])
            game.Table.AllComputer = false;
        if (start.Replay)
            player.SetFaceUp(true);  // a replay shows every hand
    }
    game.FTurnOrder = TurnOrderFrom(start.FirstSeat);
    if (start.Deal)
        game.NextDeal = DeckOrder(*start.Deal);
    game.Script = std::move(script);
    w.StartHand();
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
        FWindow.FGame.FWinScore = point.Game.WinScore;
        StartFrom({point.Game.Seats, point.Scores, point.TotalBags, point.FirstSeat, point.Deal, false}, std::nullopt);
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
        FWindow.FGame.FWinScore = winScore;
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
