// Asks the Expert for a seat's bid or card on a worker thread while the table
// goes on repainting and answering the menu. The answer is awaited in a nested
// event loop, like a pause; a decision for a hand that has been given up is
// dropped by the caller, which checks its step afterwards.
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
    // The Expert's bid (0 Nil .. 13) and card value for the seat, awaited.
    int Bid(const TSpadesGame& game, int seat, unsigned serial);
    int Card(const TSpadesGame& game, int seat, unsigned serial);

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
    int Await(QFuture<int> future);
    void Keep(const QFuture<int>& future);

    std::optional<TKey> FAheadKey;
    QFuture<int> FAhead;
    std::vector<QFuture<int>> FRunning;  // waited for on destruction
    int FStarted = 0;
};

// An Expert seat at the window: its decision worked out on the worker thread and
// awaited like a pause. An answer for a hand given up meanwhile is dropped; a
// card the table refuses leaves the choice to the classic strategy.
class TExpertSeatController final : public TSeatController {
public:
    // serial: the window's present hand; a decision outlived by it is not given.
    TExpertSeatController(TExpertSeat& seat, std::function<unsigned()> serial)
        : FSeat(seat), FSerial(std::move(serial))
    {
    }
    TSeatKind Kind() const override { return TSeatKind::Expert; }
    void Ask(TSpadesGame& game, const TWait& wait, TSeatAnswers& answers) override;

private:
    TExpertSeat& FSeat;
    std::function<unsigned()> FSerial;
    TClassicController FClassic;
};

}  // namespace spades
