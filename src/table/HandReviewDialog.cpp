#include "HandReviewDialog.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include "CardTitle.h"
#include "HistoryQueries.h"
#include "HistorySchema.h"
#include "PlayerU.h"
#include "SeatKind.h"

namespace spades {

namespace {
size_t At(int index) { return static_cast<size_t>(index); }

const QColor CostColour(255, 205, 200);

QTableWidgetItem* Cell(const QString& text, const QString& spoken = {})
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    if (!spoken.isEmpty()) {
        item->setToolTip(spoken);
        item->setData(Qt::AccessibleTextRole, spoken);
    }
    return item;
}

QString TricksText(int tricks) { return tricks == 1 ? QStringLiteral("1 trick") : QStringLiteral("%1 tricks").arg(tricks); }
}  // namespace

std::optional<TReviewHand> LoadReviewHand(const QSqlDatabase& db, qint64 game, int number,
                                          std::array<QString, 5>& names)
{
    try {
        const std::optional<TGameRecord> record = LoadGame(db, game);
        const std::optional<THandRecord> hand = LoadHand(db, game, number);
        if (!record || !hand)
            return std::nullopt;
        TReviewHand review;
        review.Dealt = DealtHands(hand->Deal);
        review.FirstSeat = hand->FirstSeat;
        review.Bids = hand->Bids;
        for (int card : hand->Plays)
            for (int seat = North; seat <= West; ++seat)
                if (review.Dealt[At(seat)] & CardBit(card))
                    review.Plays.push_back({static_cast<uint8_t>(seat), static_cast<uint8_t>(card)});
        for (int seat = North; seat <= West; ++seat) {
            const TGameSeat& gameSeat = record->Seats[At(seat)];
            names[At(seat)] = gameSeat.Name;
            review.Kinds[At(seat)] = SeatKindFromHistory(static_cast<int>(gameSeat.Type));
        }
        const TBeforeHand before = BeforeHand(db, game, number);
        review.ScoresBefore = before.Scores;
        review.BagsBefore = before.TotalBags;
        review.WinScore = record->WinScore;
        if (!CheckReviewHand(review).empty())
            return std::nullopt;
        return review;
    } catch (const EHistoryError&) {
        return std::nullopt;
    }
}

QString TdlgHandReview::ShortCard(int card)
{
    if (card < 1 || card > 52)
        return {};
    static const std::array<QString, 5> suits = {"", QString(QChar(0x2660)), QString(QChar(0x2665)),
                                                 QString(QChar(0x2663)), QString(QChar(0x2666))};
    const int rank = CardRank(static_cast<uint8_t>(card));
    const QString rankText = rank == Ace     ? QStringLiteral("A")
                             : rank == Jack  ? QStringLiteral("J")
                             : rank == Queen ? QStringLiteral("Q")
                             : rank == King  ? QStringLiteral("K")
                                             : QString::number(rank);
    return rankText + suits[At(CardSuit(static_cast<uint8_t>(card)))];
}

TdlgHandReview::TdlgHandReview(const TReviewHand& hand, const std::array<QString, 5>& names, QWidget* owner,
                               const TExpertSettings& expert)
    : QDialog(owner), FHand(hand), FNames(names)
{
    setObjectName("dlgHandReview");
    setWindowTitle("Hand Review");
    auto* layout = new QVBoxLayout(this);

    auto* bidsLabel = new QLabel("&Bids, against what each hand could make with every card open:");
    layout->addWidget(bidsLabel);
    FBids = new QTableWidget(4, 4);
    FBids->setObjectName("lvwBids");
    FBids->setHorizontalHeaderLabels({"Seat", "Bid", "Could make", "The Expert's bid"});
    FBids->verticalHeader()->hide();
    FBids->setEditTriggers(QAbstractItemView::NoEditTriggers);
    bidsLabel->setBuddy(FBids);
    for (int seat = North; seat <= West; ++seat) {
        const int row = seat - 1;
        FBids->setItem(row, 0, Cell(FNames[At(seat)]));
        const int bid = FHand.Bids[At(seat)];
        FBids->setItem(row, 1, Cell(bid == 0 ? QStringLiteral("Nil") : QString::number(bid)));
    }
    FBids->resizeColumnsToContents();
    FBids->setFixedHeight(FBids->horizontalHeader()->height() + 4 * FBids->rowHeight(0) + 4);
    layout->addWidget(FBids);

    auto* tricksLabel = new QLabel("&Tricks (a red card cost its player a trick against best play):");
    layout->addWidget(tricksLabel);
    const int tricks = (static_cast<int>(FHand.Plays.size()) + 3) / 4;
    FTricks = new QTableWidget(tricks, 6);
    FTricks->setObjectName("lvwTricks");
    FTricks->setHorizontalHeaderLabels({"Trick", FNames[North], FNames[East], FNames[South], FNames[West], "Won by"});
    FTricks->verticalHeader()->hide();
    FTricks->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FTricks->setSelectionMode(QAbstractItemView::SingleSelection);
    tricksLabel->setBuddy(FTricks);
    for (size_t i = 0; i < FHand.Plays.size(); ++i) {
        const TPlayRecord play = FHand.Plays[i];
        const int row = static_cast<int>(i / 4);
        if (i % 4 == 0)
            FTricks->setItem(row, 0, Cell(QString::number(row + 1)));
        const QString text = ShortCard(play.Card) + (i % 4 == 0 ? QStringLiteral(" (led)") : QString());
        FTricks->setItem(row, play.Seat, Cell(text, FNames[play.Seat] + ": " + CardTitle(play.Card)));
    }
    FTricks->setMinimumHeight(120);  // the list scrolls on a small screen
    layout->addWidget(FTricks, 1);

    FHands = new QLabel;
    FHands->setObjectName("lblHands");
    FHands->setTextFormat(Qt::PlainText);
    FHands->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layout->addWidget(FHands);
    FSummary = new QLabel("Working out the hand with every card open...");
    FSummary->setObjectName("lblSummary");
    FSummary->setWordWrap(true);
    layout->addWidget(FSummary);
    FProgress = new QProgressBar;
    FProgress->setObjectName("pbrReview");
    layout->addWidget(FProgress);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setObjectName("OKBtn");
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(FTricks, &QTableWidget::currentCellChanged, this, [this](int row) { ShowHandsAt(row + 1); });
    ShowHandsAt(1);
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().height() - 60 : 640;
    resize(720, std::min(640, room));

    FWorker = std::thread([this, expert] {
        THandReviewer reviewer(expert);
        const TReview review = reviewer.Review(FHand, &FStop, [this](int done, int total) {
            QMetaObject::invokeMethod(this, [this, done, total] {
                FProgress->setMaximum(total);
                FProgress->setValue(done);
            }, Qt::QueuedConnection);
        });
        if (review.Complete)
            QMetaObject::invokeMethod(this, [this, review] { Show(review); }, Qt::QueuedConnection);
    });
}

TdlgHandReview::~TdlgHandReview()
{
    FStop = true;
    if (FWorker.joinable())
        FWorker.join();
}

void TdlgHandReview::ShowHandsAt(int trick)
{
    // Every seat's cards at the start of the trick, by suit, highest first.
    TCardSet gone = 0;
    for (size_t i = 0; i < FHand.Plays.size() && static_cast<int>(i / 4) + 1 < trick; ++i)
        gone |= CardBit(FHand.Plays[i].Card);
    QStringList lines;
    for (int seat = North; seat <= West; ++seat) {
        QStringList suits;
        const TCardSet held = FHand.Dealt[At(seat)] & ~gone;
        for (int suit = Spades; suit <= Diamonds; ++suit) {
            QStringList cards;
            const int ace = (suit - 1) * 13 + 1;
            if (held & CardBit(ace))
                cards << ShortCard(ace).chopped(1);
            for (int card = ace + 12; card > ace; --card)
                if (held & CardBit(card))
                    cards << ShortCard(card).chopped(1);
            if (!cards.isEmpty())
                suits << ShortCard(ace).right(1) + " " + cards.join(' ');
        }
        lines << FNames[At(seat)] + ": " + (suits.isEmpty() ? QStringLiteral("no cards") : suits.join("   "));
    }
    FHands->setText(QStringLiteral("Cards held at trick %1:\n").arg(trick) + lines.join('\n'));
    FHands->setAccessibleName(FHands->text());
}

QString TdlgHandReview::PlayNote(const TPlayReview& play) const
{
    QString note = FNames[play.Play.Seat] + ": " + CardTitle(play.Play.Card) + ". ";
    if (play.Nil)
        note += QStringLiteral("Bid Nil: could be held to %1 before it, %2 after it.")
                    .arg(TricksText(play.Before), TricksText(play.After));
    else
        note += QStringLiteral("Could take %1 before it, %2 after it.").arg(TricksText(play.Before), TricksText(play.After));
    if (play.Cost() > 0)
        note += play.Cost() == 1 ? QStringLiteral(" It cost a trick.") : QStringLiteral(" It cost %1 tricks.").arg(play.Cost());
    if (play.ExpertCard)
        note += " The Expert would have played the " + CardTitle(play.ExpertCard) + ".";
    return note;
}

void TdlgHandReview::Show(const TReview& review)
{
    FReview = review;
    FProgress->hide();
    for (int seat = North; seat <= West; ++seat) {
        const TBidReview& bid = review.Bids[At(seat)];
        const QString could = bid.Bid == 0 ? (bid.Makeable == 0 ? QStringLiteral("Nil") : QStringLiteral("not Nil"))
                                           : QString::number(bid.Makeable);
        FBids->setItem(seat - 1, 2, Cell(could));
        const QString expert = bid.ExpertBid < 0    ? QString()
                               : bid.ExpertBid == 0 ? QStringLiteral("Nil")
                                                    : QString::number(bid.ExpertBid);
        FBids->setItem(seat - 1, 3, Cell(expert));
    }
    FBids->resizeColumnsToContents();

    std::array<int, 5> costs{};
    int expertDiffers = 0;
    for (size_t i = 0; i < review.Plays.size(); ++i) {
        const TPlayReview& play = review.Plays[i];
        QTableWidgetItem* item = FTricks->item(static_cast<int>(i / 4), play.Play.Seat);
        const QString note = PlayNote(play);
        item->setToolTip(note);
        item->setData(Qt::AccessibleTextRole, note);
        QString text = item->text();
        if (play.Cost() > 0) {
            costs[At(play.Play.Seat)] += play.Cost();
            item->setBackground(CostColour);
            text += QStringLiteral("  -%1").arg(play.Cost());
        }
        if (play.ExpertCard) {
            ++expertDiffers;
            text += QStringLiteral("  (Expert: %1)").arg(ShortCard(play.ExpertCard));
        }
        item->setText(text);
    }
    for (int trick = 1; trick <= FTricks->rowCount(); ++trick) {
        const int winner = review.TrickWinners[At(trick)];
        FTricks->setItem(trick - 1, 5, Cell(winner ? FNames[At(winner)] : QString()));
    }
    FTricks->resizeColumnsToContents();

    QStringList lost;
    for (int seat = North; seat <= West; ++seat)
        if (costs[At(seat)] > 0)
            lost << FNames[At(seat)] + " " + TricksText(costs[At(seat)]);
    QString summary = lost.isEmpty() ? QStringLiteral("No play cost a trick against best play with every card open.")
                                     : "Tricks lost to plays against best play with every card open: " +
                                           lost.join(", ") + ".";
    if (expertDiffers > 0)
        summary += QStringLiteral(" The Expert, seeing what the person saw, chose differently %1 time%2.")
                       .arg(expertDiffers)
                       .arg(expertDiffers == 1 ? "" : "s");
    FSummary->setText(summary);
    FSummary->setAccessibleName(summary);
}

}  // namespace spades
