#include "JoinedTable.h"

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "CardDeck.h"
#include "Rules.h"

namespace spades::net {

namespace {
// Name label positions by side, in the table's own 769 x 461 coordinates.
constexpr std::array<QPoint, 4> NameAt = {QPoint(300, 300), QPoint(20, 142), QPoint(300, 6), QPoint(560, 142)};

QString SeatLine(const TTableMirror& m, int seat)
{
    const TPlayer& p = m.Player(seat);
    QString line = QString::fromStdString(p.FName);
    if (m.State(seat) == TSeatState::Dropped || m.State(seat) == TSeatState::Open)
        line += QStringLiteral(" (computer)");
    if (m.BidKnown(seat))
        line += QStringLiteral("  bid %1, made %2").arg(p.FBid == 0 ? QStringLiteral("NIL") : QString::number(p.FBid)).arg(p.FTricks);
    line += QStringLiteral("  score %1").arg(p.FScore);
    return line;
}
}  // namespace

TJoinedTable::TJoinedTable(TNetClientOptions options, QWidget* parent)
    : QWidget(parent), FClient(std::make_unique<TNetClient>(std::move(options)))
{
    setWindowTitle(QStringLiteral("Quelbrin Spades - joined table"));
    setObjectName(QStringLiteral("frmJoined"));
    setFixedSize(769, 461);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0, 96, 32));
    setPalette(palette);
    for (int side = 0; side < 4; ++side) {
        FNames[static_cast<size_t>(side)] = new QLabel(this);
        FNames[static_cast<size_t>(side)]->setObjectName(QStringLiteral("lblSide%1").arg(side));
        FNames[static_cast<size_t>(side)]->setGeometry(QRect(NameAt[static_cast<size_t>(side)], QSize(200, 40)));
        FNames[static_cast<size_t>(side)]->setWordWrap(true);
        FNames[static_cast<size_t>(side)]->setStyleSheet(QStringLiteral("color: white;"));
        auto* place = new TCardDeck(this);
        place->move(254 + 60 * side, 150);
        FTrick[static_cast<size_t>(side)] = place;
    }
    // The others' hands as small backs, one fan per side.
    for (int side = 1; side < 4; ++side) {
        for (int k = 0; k < 13; ++k) {
            auto* back = new TCardDeck(this);
            back->SetStretch(true);
            back->setObjectName(QStringLiteral("imgBack%1_%2").arg(side).arg(k + 1));
            const QPoint at = side == 1 ? QPoint(20, 190 + 10 * k) : side == 2 ? QPoint(300 + 12 * k, 50)
                                                                         : QPoint(700, 190 + 10 * k);
            back->setGeometry(QRect(at, QSize(43, 58)));
            FBacks[static_cast<size_t>(side)][static_cast<size_t>(k)] = back;
        }
    }
    for (int slot = 1; slot <= 13; ++slot) {
        auto* card = new TCardDeck(this);
        card->setObjectName(QStringLiteral("imgHand%1").arg(slot));
        card->move(200 + 22 * (slot - 1), 350);
        connect(card, &TCardDeck::clicked, this, [this, slot] { CardClicked(slot); });
        FHand[static_cast<size_t>(slot - 1)] = card;
    }
    FStatus = new QLabel(this);
    FStatus->setObjectName(QStringLiteral("lblStatus"));
    FStatus->setGeometry(8, 430, 500, 24);
    FStatus->setStyleSheet(QStringLiteral("color: yellow;"));
    FBid = new QSpinBox(this);
    FBid->setObjectName(QStringLiteral("spnBid"));
    FBid->setRange(0, 13);
    FBid->setSpecialValueText(QStringLiteral("NIL"));
    FBid->setGeometry(600, 400, 70, 26);
    FBidButton = new QPushButton(QStringLiteral("&Bid"), this);
    FBidButton->setObjectName(QStringLiteral("btnBid"));
    FBidButton->setGeometry(680, 400, 70, 26);
    connect(FBidButton, &QPushButton::clicked, this, &TJoinedTable::SendBid);

    connect(FClient.get(), &TNetClient::Received, this, &TJoinedTable::Refresh);
    connect(FClient.get(), &TNetClient::ErrorReceived, this, [this](int, const QString& text) {
        FNotice = text;
        Refresh();
    });
    connect(FClient.get(), &TNetClient::Refused, this, [this](int, const QString& text) {
        FNotice = QStringLiteral("Refused: ") + text;
        Refresh();
    });
    connect(FClient.get(), &TNetClient::Closed, this, [this](const QString& why) {
        FNotice = why.isEmpty() ? QStringLiteral("The host has closed the table.") : why;
        Refresh();
    });
    Refresh();
    FClient->Connect();
}

TJoinedTable::~TJoinedTable() = default;

QString TJoinedTable::Status() const
{
    return FStatus->text();
}

void TJoinedTable::Refresh()
{
    const TTableMirror& m = FClient->Mirror();
    const int own = m.Seat();
    const bool myCard = m.PendingTurn() && m.PendingTurn()->Kind == TTurnKind::Card;
    const bool myBid = m.PendingTurn() && m.PendingTurn()->Kind == TTurnKind::Bid;
    for (int seat = 1; seat <= 4 && own != 0; ++seat) {
        const int side = Side(seat, own);
        FNames[static_cast<size_t>(side)]->setText(SeatLine(m, seat));
        for (int k = 0; side != 0 && k < 13; ++k) {
            TCardDeck* back = FBacks[static_cast<size_t>(side)][static_cast<size_t>(k)];
            back->SetValue(FirstBackValue);
            back->SetVisible(k < m.Player(seat).FCardCount);
        }
    }
    // The held cards close up round the middle, as a fan does at the table.
    const int count = own != 0 ? m.Player(own).FCardCount : 0;
    int n = 0;
    for (int slot = 1; slot <= 13; ++slot) {
        TCardDeck* card = FHand[static_cast<size_t>(slot - 1)];
        const int value = own != 0 ? m.Player(own).FHand[static_cast<size_t>(slot)] : NoCard;
        const bool held = value >= 1 && value <= 52;
        if (held)
            card->move(352 - (count / 2) * 22 + 22 * n++, 350);
        card->SetValue(static_cast<uint8_t>(held ? value : FirstBackValue));
        card->SetVisible(held);
        card->setCursor(held && myCard ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }
    for (int place = 1; place <= 4; ++place) {
        const TPlayStack& stack = m.Table().Place(place);
        TCardDeck* card = FTrick[static_cast<size_t>(place - 1)];
        card->SetValue(static_cast<uint8_t>(stack.HasCard() ? stack.FValue : FirstBackValue));
        card->SetVisible(stack.HasCard());
    }
    FBid->setEnabled(myBid);
    FBidButton->setEnabled(myBid);
    QString status;
    if (!FNotice.isEmpty())
        status = FNotice;
    else if (m.Winner() != 0 && !m.PendingTurn() && m.TurnSeat() == 0)
        status = QString::fromStdString(WinnerNotice(m.Player(m.Winner()).FName));
    else if (myBid)
        status = QStringLiteral("Your bid");
    else if (myCard)
        status = QStringLiteral("Your card");
    else if (m.TurnSeat() != 0)
        status = QStringLiteral("Waiting for ") + QString::fromStdString(m.Player(m.TurnSeat()).FName);
    FStatus->setText(status);
}

void TJoinedTable::CardClicked(int slot)
{
    const TTableMirror& m = FClient->Mirror();
    if (!m.PendingTurn() || m.PendingTurn()->Kind != TTurnKind::Card)
        return;
    const TPlayer& own = m.Player(m.Seat());
    const int card = own.FHand[static_cast<size_t>(slot)];
    if (card < 1 || card > 52)
        return;
    // Checked here too, so the person hears of a broken rule at once; the host checks again.
    const TPlayVerdict verdict = CheckPlay(m.Table(), own, card);
    if (verdict != TPlayVerdict::Legal) {
        FNotice = QString::fromUtf8(VerdictText(verdict).data(), static_cast<qsizetype>(VerdictText(verdict).size()));
        Refresh();
        return;
    }
    FNotice.clear();
    FClient->Send(TPlayMsg{m.PendingTurn()->Turn, static_cast<uint8_t>(m.Seat()), static_cast<uint8_t>(card)});
}

void TJoinedTable::SendBid()
{
    const TTableMirror& m = FClient->Mirror();
    if (!m.PendingTurn() || m.PendingTurn()->Kind != TTurnKind::Bid)
        return;
    FNotice.clear();
    FClient->Send(TBidMsg{m.PendingTurn()->Turn, static_cast<uint8_t>(m.Seat()), static_cast<uint8_t>(FBid->value())});
}

}  // namespace spades::net
