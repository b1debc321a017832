// A table joined over the network, drawn as the window's own table is drawn
// (the same scene, cards, labels and bids list) and seen from the joined seat:
// that seat in South's place, the next seat clockwise in West's, the one after
// in North's, the last in East's. It shows what the host sends, and sends the
// bids and cards the person here chooses.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>

#include "BidDialog.h"
#include "NetClient.h"
#include "NetTableHost.h"
#include "ScoreDialog.h"
#include "Tilemap.h"

namespace spades {
class TCardDeck;
class TTablePrompts;
class TLabelEffect;
class TTableScene;
}  // namespace spades

namespace spades::net {

class TJoinedTable : public TTiledBitmap, private TCardHost {
    Q_OBJECT
public:
    // prompts: where a refused card is told (nullptr: on the table only).
    explicit TJoinedTable(TNetClientOptions options, TTablePrompts* prompts = nullptr, QWidget* parent = nullptr);
    ~TJoinedTable() override;

    TNetClient& Client() { return *FClient; }
    TTableScene& Scene() const { return *FScene; }
    // The seat of the window's own table whose place a seat takes.
    static int SeatPlace(int seat, int ownSeat) { return (seat - ownSeat + 6) % 4 + 1; }
    // The table's own line of news: joining, the host's refusals, the winner.
    QString Status() const;
    void ApplyLook(const TTableLook& look);
    // How long a taken trick stays on the table, asked at each trick.
    void SetPauseSource(std::function<int()> pause) { FPause = std::move(pause); }
    // The bid dialog while the seat here is to bid, else nullptr.
    TdlgBid* BidDialog() const { return FBidDialog; }
    TdlgScores* ScoreCard() const { return FScoreCard; }
    // The seconds left of the turn at a hosted table with a time-out, as shown
    // beside the seat to play; empty when no turn runs.
    QString TurnClock() const;

private:
    // TCardHost: the fans are laid out by the seats' own rule.
    TCardControl* FindCard(std::string_view name) override;
    TCardControl* CardAt(int seat, int slot) override;
    void ShowMessage(const std::string&) override {}

    void Received(int type);
    // Drawn again soon, once for everything that arrived meanwhile.
    void ScheduleRefresh();
    void Refresh();
    void ShowTurnClock();
    void LayOutFans(int own);
    void ShowTrick();
    void FillBids();
    void AskBid();
    void CardClicked(TCardDeck& card);
    void ShowScores();
    void TrickTaken();
    void SetNotice(const QString& text);

    std::unique_ptr<TNetClient> FClient;
    TTableScene* FScene = nullptr;
    TTablePrompts* FPrompts;
    TTableState FShown;  // the fans as drawn, by the window's seat places
    std::array<TCardDeck*, 5> FTrickCards{};  // places 1..4
    struct TLaid {
        int Seat = 0, Card = NoCard;
    };
    std::array<TLaid, 5> FTrick{};  // the trick as shown: kept a while after it is taken
    bool FTrickTaken = false;
    bool FGameOver = false;
    bool FMarkPlayable = false;
    std::array<int, 5> FTricksSeen{};
    QTimer FClearTrick;
    QTimer FRepaint;
    QTimer FTurnTick;            // runs only while a turn with a time-out runs
    QElapsedTimer FTurnClock;    // since the last Turn
    TLabelEffect* FClockLabel = nullptr;
    QString FSeatNotice;         // what the host last said of this seat
    QTimer FBlink;
    std::function<int()> FPause;
    QPointer<TdlgBid> FBidDialog;
    uint32_t FBidTurn = 0;
    uint32_t FSentTurn = 0;
    QPointer<TdlgScores> FScoreCard;
    QString FNotice;
};

}  // namespace spades::net
