// A table joined over the network, seen from the joined seat: that seat at the
// bottom, the next seat clockwise on the left, the one after at the top, the
// last on the right. It shows what the host sends and sends its bids and cards.
#pragma once

#include <QWidget>

#include <array>
#include <memory>

#include "NetClient.h"

class QLabel;
class QPushButton;
class QSpinBox;

namespace spades {
class TCardDeck;
}

namespace spades::net {

class TJoinedTable : public QWidget {
    Q_OBJECT
public:
    explicit TJoinedTable(TNetClientOptions options, QWidget* parent = nullptr);
    ~TJoinedTable() override;

    TNetClient& Client() { return *FClient; }
    // Where a seat is drawn: 0 bottom, 1 left, 2 top, 3 right.
    static int Side(int seat, int ownSeat) { return (seat - ownSeat + 4) % 4; }
    QString Status() const;

private:
    void Refresh();
    void CardClicked(int slot);
    void SendBid();

    std::unique_ptr<TNetClient> FClient;
    std::array<QLabel*, 4> FNames{};
    std::array<TCardDeck*, 13> FHand{};
    std::array<TCardDeck*, 4> FTrick{};
    std::array<std::array<TCardDeck*, 13>, 4> FBacks{};  // the other seats' cards, by side
    QLabel* FStatus = nullptr;
    QSpinBox* FBid = nullptr;
    QPushButton* FBidButton = nullptr;
    QString FNotice;
};

}  // namespace spades::net
