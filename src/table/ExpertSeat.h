// Asks the Expert for a seat's bid or card on a worker thread while the table
// goes on repainting and answering the menu. The answer comes later, from the
// event loop; a decision no longer wanted is dropped.
#pragma once

#include <QFuture>
#include <QObject>
#include <functional>
#include <optional>
#include <vector>

#include "ExpertView.h"
#include "SeatController.h"

namespace spades {

class TSpadesGame;

class TExpertSeat : public QObject {
    Q_OBJECT
public:
    explicit TExpertSeat(QObject* parent = nullptr);
    // Waits for any decision still running; none takes long.
    ~TExpertSeat() override;

    // Starts the decision of the seat to play next when that seat is an Expert,
    // so that it thinks while the table pauses.
    void ThinkAhead(const TSpadesGame& game, unsigned serial);
    // The Expert's bid (0 Nil .. 13) or card value for the seat, handed to done
    // on this thread once worked out (the card thought ahead, when it is that
    // one). A decision begun replaces the one before.
    void Decide(const TSpadesGame& game, int seat, unsigned serial, bool bid, std::function<void(int)> done);
    // The decision begun is no longer wanted: done is not called.
    void Drop();

    // For a person's seat: what the Expert would play there, worked out in the
    // background; show is called on this thread with the card value, unless
    // still() says the position has moved on by then.
    void Hint(const TSpadesGame& game, int seat, std::function<bool()> still, std::function<void(int)> show);
    // The Expert's bid for a person's seat, begun now; the returned function
    // gives it (waiting for the rest of the work only if it is not done).
    std::function<int()> SuggestBid(const TSpadesGame& game, int seat);

    // Decisions begun, for tests.
    int Started() const { return FStarted; }

signals:
    // The table waits for a decision still running (it goes on repainting meanwhile).
    void waiting();
    // A decision has been handed over to the table.
    void answered();

private:
    struct TKey {
        unsigned Serial = 0;
        int Seat = 0;
        int Plays = 0;
        int Bids = 0;
        TCardSet Held = 0;  // tells one hand of a game from the next
        bool operator==(const TKey&) const = default;
    };
    static TKey KeyOf(const TSpadesGame& game, int seat, unsigned serial);
    QFuture<int> StartCard(const TExpertView& view);
    QFuture<int> StartBid(const TExpertView& view);
    void Keep(const QFuture<int>& future);

    std::optional<TKey> FAheadKey;
    QFuture<int> FAhead;
    std::vector<QFuture<int>> FRunning;  // waited for on destruction
    unsigned FDecision = 0;  // the decision begun last; a dropped one is never handed over
    bool FDeciding = false;
    int FStarted = 0;
};

// An Expert seat at the window: its decision worked out on the worker thread
// while the table goes on; the answer comes later through answer, which hands
// it to the cycle. Cancelled, the decision is dropped.
class TExpertSeatController final : public TSeatController {
public:
    using TAnswer = std::function<void(const TWait& wait, int value)>;
    // serial: the window's present hand, which keys the thinking ahead.
    TExpertSeatController(TExpertSeat& seat, std::function<unsigned()> serial, TAnswer answer)
        : FSeat(seat), FSerial(std::move(serial)), FAnswer(std::move(answer))
    {
    }
    TSeatKind Kind() const override { return TSeatKind::Expert; }
    void Ask(TSpadesGame& game, const TWait& wait, TSeatAnswers& answers) override;
    void Cancel(uint32_t turn) override;

private:
    TExpertSeat& FSeat;
    std::function<unsigned()> FSerial;
    TAnswer FAnswer;
    uint32_t FTurn = 0;  // the turn being worked out
};

}  // namespace spades
