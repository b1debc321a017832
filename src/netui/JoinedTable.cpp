#include "JoinedTable.h"

#include <QToolButton>

#include "BidDialog.h"
#include "CardDeck.h"
#include "CardFaces.h"
#include "Cmpint32.h"
#include "ExtListView.h"
#include "LblEffct.h"
#include "Rules.h"
#include "ScoreDialog.h"
#include "Shape.h"
#include "SpadesGame.h"
#include "TablePrompts.h"
#include "TableScene.h"

namespace spades::net {

namespace {
QString Text(const std::string& text) { return QString::fromStdString(text); }
QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
constexpr int BlinkMs = 400;  // as the waiting label blinks at the table
constexpr int RepaintMs = 0;  // once the messages that came together are all in
}  // namespace

TJoinedTable::TJoinedTable(TNetClientOptions options, TTablePrompts* prompts, QWidget* parent)
    : TTiledBitmap(parent), FClient(std::make_unique<TNetClient>(std::move(options))), FPrompts(prompts)
{
    setObjectName(QStringLiteral("frmJoined"));
    setMinimumSize(TTableScene::Width, TTableScene::Height);
    FScene = new TTableScene(*this);
    // A fifth column: a joined player sees the scores only here and on the score card.
    FScene->SetBidColumns({{QString(), 52, Qt::AlignLeft},
                           {QStringLiteral("Bid"), 36, Qt::AlignHCenter},
                           {QStringLiteral("Made"), 36, Qt::AlignHCenter},
                           {QStringLiteral("Bags"), 36, Qt::AlignHCenter},
                           {QStringLiteral("Score"), 40, Qt::AlignHCenter}});
    for (int seat = North; seat <= West; ++seat) {
        FShown.Players[static_cast<size_t>(seat)] = std::make_unique<TPlayer>(static_cast<TCardHost&>(*this), FShown);
        FShown.Player(seat).SetSeat(seat);
        FScene->Bids().AddRow({});
    }
    const QRect area = FScene->TableRect(FScene->PlayArea());
    for (int place = 1; place <= 4; ++place) {
        auto* card = new TCardDeck(this);
        card->setObjectName(QStringLiteral("imgTrick%1").arg(place));
        card->SetVisible(false);
        card->setAttribute(Qt::WA_TransparentForMouseEvents);
        const TCardRect at = TrickPlaceRect(place, area.left(), area.top());
        FScene->Place(*card, QRect(at.Left, at.Top, at.Width, at.Height));
        FTrickCards[static_cast<size_t>(place)] = card;
    }
    FClearTrick.setSingleShot(true);
    connect(&FClearTrick, &QTimer::timeout, this, [this] {
        FTrick = {};
        Refresh();
    });
    FRepaint.setSingleShot(true);
    FRepaint.setInterval(RepaintMs);
    connect(&FRepaint, &QTimer::timeout, this, &TJoinedTable::Refresh);
    FTurnTick.setInterval(1000);
    connect(&FTurnTick, &QTimer::timeout, this, &TJoinedTable::ShowTurnClock);
    FClockLabel = new TLabelEffect(this);
    FClockLabel->setObjectName(QStringLiteral("lblTurnClock"));
    FClockLabel->setFont(FScene->SeatLabel(South).font());
    FClockLabel->SetFontColour(QColor(0xFF, 0xE0, 0x60));
    FClockLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    FClockLabel->hide();
    FBlink.setInterval(BlinkMs);
    connect(&FBlink, &QTimer::timeout, this, [this] { FScene->WaitFor().setVisible(!FScene->WaitFor().isVisible()); });
    ApplyLook({});

    connect(FClient.get(), &TNetClient::Received, this, &TJoinedTable::Received);
    connect(FClient.get(), &TNetClient::ErrorReceived, this, [this](int, const QString& text) { SetNotice(text); });
    connect(FClient.get(), &TNetClient::Noticed, this, [this](int kind) {
        FSeatNotice = NoticeText(static_cast<TSeatNotice>(kind));
        ScheduleRefresh();
    });
    connect(FClient.get(), &TNetClient::Refused, this,
            [this](int, const QString& text) { SetNotice(QStringLiteral("Refused: ") + text); });
    connect(FClient.get(), &TNetClient::Closed, this, [this](const QString& why) {
        // After the last game the host closes the table: the winner's line stays.
        if (why.isEmpty() && FGameOver)
            Refresh();
        else
            SetNotice(why.isEmpty() ? QStringLiteral("The host has closed the table.") : why);
    });
    SetNotice(QStringLiteral("Joining the table..."));
    FClient->Connect();
}

TJoinedTable::~TJoinedTable()
{
    // Leaving the table gives the seat up; only a crash leaves its secret behind.
    FClient->disconnect(this);
    FClient->LeaveSeat();
    // The dialogs belong to the window; they must not answer for a table that is gone.
    delete FBidDialog.data();
    delete FScoreCard.data();
}

QString TJoinedTable::Status() const { return FScene->Prompt().Caption(); }

void TJoinedTable::SetNotice(const QString& text)
{
    FNotice = text;
    Refresh();
}

void TJoinedTable::ApplyLook(const TTableLook& look)
{
    // A surface that cannot be had shows green cloth; the table is played all the same.
    try {
        LoadCompressedBitmap(look.Surface.isEmpty() ? QStringLiteral("IDB_GREENCLOTH") : look.Surface, BitMap());
    } catch (const std::exception&) {
        try {
            LoadCompressedBitmap(QStringLiteral("IDB_GREENCLOTH"), BitMap());
        } catch (const std::exception&) {
            BitMap() = QImage();
        }
    }
    update();
    FShown.CardBack = look.CardBack;
    FMarkPlayable = look.MarkPlayable;
    if (look.Faces)
        ShowCardFaces(*this, look.Faces);
    Refresh();
}

TCardControl* TJoinedTable::FindCard(std::string_view name) { return FScene->FindCard(name); }

TCardControl* TJoinedTable::CardAt(int seat, int slot) { return FScene->FindCard(TCardName(seat, slot).View()); }

// ---- What the host says --------------------------------------------------------------------------

void TJoinedTable::Received(int type)
{
    const TTableMirror& m = FClient->Mirror();
    switch (static_cast<TMsgType>(type)) {
    case TMsgType::Hand:
    case TMsgType::Sync:
        FGameOver = false;
        FClearTrick.stop();
        FTrickTaken = false;
        FTrick = {};
        for (int place = 1; place <= 4; ++place)
            FTrick[static_cast<size_t>(place)] = {m.Table().Place(place).FSeat, m.Table().Place(place).FValue};
        FScene->WhoWon().SetCaption({});
        FNotice.clear();
        break;
    case TMsgType::CardPlayed:
        if (FTrickTaken) {
            // The next trick begins: the last one leaves the table now.
            FClearTrick.stop();
            FTrickTaken = false;
            FTrick = {};
            FScene->WhoWon().SetCaption({});
        }
        for (int place = 1; place <= 4; ++place)
            if (m.Table().Place(place).HasCard())
                FTrick[static_cast<size_t>(place)] = {m.Table().Place(place).FSeat, m.Table().Place(place).FValue};
        FNotice.clear();
        break;
    case TMsgType::TrickWon:
        TrickTaken();
        break;
    case TMsgType::HandScored:
        ShowScores();
        break;
    case TMsgType::GameOver:
        if (m.Winner() >= North && m.Winner() <= West) {
            FNotice = Text(WinnerNotice(m.WinnerName()));
            FGameOver = true;
        }
        break;
    case TMsgType::Welcome:
        FNotice.clear();
        break;
    case TMsgType::Turn:
        FTurnClock.start();
        // A turn of its own again: what the host said of the last one is old news.
        if (m.PendingTurn() && !m.Away())
            FSeatNotice.clear();
        break;
    default:
        break;
    }
    if (static_cast<TMsgType>(type) != TMsgType::TrickWon && static_cast<TMsgType>(type) != TMsgType::HandScored &&
        static_cast<TMsgType>(type) != TMsgType::GameOver)
        for (int seat = North; seat <= West; ++seat)
            FTricksSeen[static_cast<size_t>(seat)] = m.Player(seat).FTricks;
    ScheduleRefresh();
}

void TJoinedTable::ScheduleRefresh()
{
    if (!FRepaint.isActive())
        FRepaint.start();
}

QString TJoinedTable::TurnClock() const { return FClockLabel->isVisible() ? FClockLabel->Caption() : QString(); }

void TJoinedTable::ShowTurnClock()
{
    const TTableMirror& m = FClient->Mirror();
    const int waited = m.TurnSeat();
    const qint64 limit = m.TurnTimeoutMs();
    if (waited == 0 || limit == 0 || !FTurnClock.isValid() || !FClient->Connected()) {
        FTurnTick.stop();
        FClockLabel->hide();
        return;
    }
    const qint64 left = std::max<qint64>(0, limit - FTurnClock.elapsed());
    FClockLabel->SetCaption(QString::number((left + 999) / 1000));
    const int place = SeatPlace(waited, m.Seat() != 0 ? m.Seat() : South);
    const QRect label = FScene->TableRect(FScene->SeatLabel(place));
    // Beside the name, on the side towards the middle of the table.
    const int width = 40;
    const int left_x = place == East ? label.left() - width - 4 : label.left() + label.width() + 4;
    FScene->Place(*FClockLabel, QRect(left_x, label.top(), width, label.height()));
    FClockLabel->show();
    FClockLabel->raise();
    if (!FTurnTick.isActive())
        FTurnTick.start();
}

void TJoinedTable::TrickTaken()
{
    const TTableMirror& m = FClient->Mirror();
    int winner = 0;
    for (int seat = North; seat <= West; ++seat) {
        if (m.Player(seat).FTricks > FTricksSeen[static_cast<size_t>(seat)])
            winner = seat;
        FTricksSeen[static_cast<size_t>(seat)] = m.Player(seat).FTricks;
    }
    FTrickTaken = true;
    if (winner != 0)
        FScene->WhoWon().SetCaption(
            FScene->SeatLabel(SeatPlace(winner, m.Seat() != 0 ? m.Seat() : South)).Caption() + QStringLiteral(" Won"));
    // The cards stay for a pause, as at the table, or until the next trick begins.
    FClearTrick.start(FPause ? std::clamp(FPause(), 0, 60000) : 1000);
}

void TJoinedTable::ShowScores()
{
    delete FScoreCard.data();
    auto* card = new TdlgScores(window());
    card->setAttribute(Qt::WA_DeleteOnClose);
    card->SetSeats(FClient->Mirror().Table());
    FScoreCard = card;
    // Never modal: the host goes on with the next hand whether it is read or not.
    card->show();
    card->move(mapToGlobal(rect().center()) - QPoint(card->width() / 2, card->height() / 2));
}

// ---- Drawing ---------------------------------------------------------------------------------------

void TJoinedTable::Refresh()
{
    const TTableMirror& m = FClient->Mirror();
    const int own = m.Seat() != 0 ? m.Seat() : South;
    for (int seat = North; seat <= West; ++seat) {
        TLabelEffect& label = FScene->SeatLabel(SeatPlace(seat, own));
        label.SetCaption(Text(m.Player(seat).FName));
        const TSeatState state = m.State(seat);
        label.setToolTip(state == TSeatState::Dropped || state == TSeatState::Open
                             ? QStringLiteral("played by the computer")
                             : QString());
        TCardDeck& pile = FScene->Pile(SeatPlace(seat, own));
        pile.SetValue(FShown.CardBack);
        pile.SetVisible(m.Seat() != 0 && m.Player(seat).FTricks > 0);
    }
    LayOutFans(own);
    ShowTrick();
    FillBids();

    const int waited = m.TurnSeat();
    if (waited != 0 && !FClient->Connected())
        FBlink.stop();
    if (waited != 0 && FClient->Connected()) {
        FScene->WaitFor().SetCaption(QStringLiteral("Waiting for ") + Text(m.Player(waited).FName));
        if (!FBlink.isActive())
            FBlink.start();
    } else {
        FBlink.stop();
        FScene->WaitFor().SetCaption({});
        FScene->WaitFor().show();
    }
    FScene->Prompt().SetCaption(FNotice.isEmpty() ? FSeatNotice : FNotice);
    ShowTurnClock();
    FScene->StopButton().hide();
    AskBid();
}

void TJoinedTable::LayOutFans(int own)
{
    const TTableMirror& m = FClient->Mirror();
    const bool myCard = m.PendingTurn() && m.PendingTurn()->Kind == TTurnKind::Card &&
                        m.PendingTurn()->Turn != FSentTurn && FClient->Connected();
    for (int seat = North; seat <= West; ++seat) {
        const int place = SeatPlace(seat, own);
        TPlayer& shown = FShown.Player(place);
        const TPlayer& held = m.Player(seat);
        // The hand rectangle as the window's own table takes it from the name label.
        const QRect label = FScene->TableRect(FScene->SeatLabel(place));
        shown.SetHandRect({label.left(), label.top() + label.height() + 11, CardWidth, CardHeight});
        shown.SetFaceUp(seat == m.Seat());
        shown.FCardCount = 0;
        for (int slot = 1; slot <= 13; ++slot) {
            int value = NoCard;
            if (seat == m.Seat())
                value = held.FHand[static_cast<size_t>(slot)] >= 1 && held.FHand[static_cast<size_t>(slot)] <= 52
                            ? held.FHand[static_cast<size_t>(slot)]
                            : NoCard;
            else if (m.Seat() != 0 && slot <= held.FCardCount)
                value = FShown.CardBack;  // only how many: the others' cards are never sent
            shown.FHand[static_cast<size_t>(slot)] = value;
            shown.FCardCount += value != NoCard;
            if (TCardControl* card = CardAt(place, slot))
                card->SetVisible(false);
        }
        shown.RefreshCards(TCardName(place, 1).View().substr(0, 10));
        for (int slot = 1; slot <= 13; ++slot) {
            TCardDeck* card = FScene->Card(Text(TCardName(place, slot).View()));
            const int value = shown.FHand[static_cast<size_t>(slot)];
            if (!card)
                continue;
            const bool armed = place == South && myCard && value != NoCard;
            // As at the table: at the seat's turn the cards the rules refuse are shaded.
            card->SetShaded(armed && FMarkPlayable && CheckPlay(m.Table(), held, value) != TPlayVerdict::Legal);
            // While the computer plays the seat, a click on a card takes it back.
            if (armed || (place == South && value != NoCard && m.Away() && FClient->Connected()))
                card->SetClickHandler([this](TCardDeck& clicked) { CardClicked(clicked); });
            else
                card->ClearClickHandler();  // out of turn a card answers no click
        }
    }
}

void TJoinedTable::ShowTrick()
{
    for (int place = 1; place <= 4; ++place) {
        const TLaid& laid = FTrick[static_cast<size_t>(place)];
        TCardDeck* card = FTrickCards[static_cast<size_t>(place)];
        const bool shown = laid.Seat != 0 && laid.Card >= 1 && laid.Card <= 52;
        card->SetValue(static_cast<uint8_t>(shown ? laid.Card : FShown.CardBack));
        card->SetVisible(shown);
        card->raise();
    }
}

void TJoinedTable::FillBids()
{
    const TTableMirror& m = FClient->Mirror();
    TExtListView& bids = FScene->Bids();
    for (int seat = North; seat <= West; ++seat) {
        const TPlayer& p = m.Player(seat);
        const int row = seat - 1;
        bids.SetCell(row, 0, Text(p.FName));
        const bool bid = m.BidKnown(seat);
        bids.SetCell(row, 1, bid ? BidCellText(p.FBid) : QString());
        bids.SetCell(row, 2, bid ? QString::number(p.FTricks) : QString());
        bids.SetCell(row, 3, bid ? QString::number(p.FBags) : QString());
        bids.SetCell(row, 4, QString::number(p.FScore));
    }
}

// ---- What the person here does ----------------------------------------------------------------------

void TJoinedTable::AskBid()
{
    const TTableMirror& m = FClient->Mirror();
    const auto& turn = m.PendingTurn();
    const bool asked = turn && turn->Kind == TTurnKind::Bid && FClient->Connected();
    if (!asked || turn->Turn != FBidTurn) {
        // The turn has passed (the host gave it to the computer): the question goes.
        if (FBidDialog)
            FBidDialog->done(0);
        FBidDialog = nullptr;
    }
    if (!asked || FBidDialog || turn->Turn == FSentTurn)
        return;
    FBidTurn = turn->Turn;
    if (FScoreCard)
        FScoreCard->close();
    auto* dialog = new TdlgBid(window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->SetPlayerCaption(Text(m.Player(m.Seat()).FName) + QStringLiteral(" Bid"));
    FBidDialog = dialog;
    const uint32_t asking = turn->Turn;
    connect(dialog, &QDialog::finished, this, [this, asking](int result) {
        const auto& pending = FClient->Mirror().PendingTurn();
        if (result < 1 || !pending || pending->Kind != TTurnKind::Bid || pending->Turn != asking)
            return;
        FSentTurn = asking;
        FClient->Send(TBidMsg{asking, static_cast<uint8_t>(FClient->Mirror().Seat()),
                              static_cast<uint8_t>(std::clamp(result - 1, 0, 13))});
    });
    // Over the table, and the table waits for it without stopping anything else.
    dialog->open();
    dialog->move(mapToGlobal(rect().center()) - QPoint(dialog->width() / 2, dialog->height() / 2));
    // The keyboard bids too, once the dialog is up (a window not yet shown cannot take it).
    QTimer::singleShot(0, dialog, [dialog] { dialog->activateWindow(); });
}

void TJoinedTable::CardClicked(TCardDeck& card)
{
    const TTableMirror& m = FClient->Mirror();
    if (m.Away()) {
        FClient->Send(TBackMsg{});
        return;
    }
    const auto& turn = m.PendingTurn();
    const int slot = card.objectName().mid(10).toInt();
    if (!turn || turn->Kind != TTurnKind::Card || turn->Turn == FSentTurn || slot < 1 || slot > 13)
        return;
    const TPlayer& own = m.Player(m.Seat());
    const int value = own.FHand[static_cast<size_t>(slot)];
    if (value < 1 || value > 52)
        return;
    // Checked here too, so the person hears of a broken rule at once; the host checks again.
    const TPlayVerdict verdict = CheckPlay(m.Table(), own, value);
    if (verdict != TPlayVerdict::Legal) {
        if (FPrompts)
            FPrompts->Notice(TNoticeKind::Error, Text(VerdictText(verdict)));
        else
            SetNotice(Text(VerdictText(verdict)));
        return;
    }
    FSentTurn = turn->Turn;
    FNotice.clear();
    FClient->Send(TPlayMsg{turn->Turn, static_cast<uint8_t>(m.Seat()), static_cast<uint8_t>(value)});
    Refresh();  // disarmed until the host answers
}

}  // namespace spades::net
