#include "TableAccessibility.h"

#include <QAccessible>
#include <QStringList>
#include <QToolButton>

#include "CardDeck.h"
#include "CardTitle.h"
#include "ExtListView.h"
#include "LblEffct.h"
#include "Shape.h"
#include "SpadesGame.h"
#include "TableScene.h"

namespace spades {

QString PlayedText(const QString& seatName, int card)
{
    return seatName + " played the " + CardTitle(static_cast<uint8_t>(card));
}

TTableAccessibility::TTableAccessibility(TTableScene& scene, const TSpadesGame& game)
    : QObject(&scene), FScene(scene), FGame(game)
{
    NameControls();
}

QString TTableAccessibility::SeatName(int seat) const
{
    return FScene.SeatName(seat);
}

void TTableAccessibility::NameControls()
{
    FScene.PlayArea().setAccessibleName("Trick");
    for (int seat = North; seat <= West; ++seat) {
        TLabelEffect& label = FScene.SeatLabel(seat);
        label.setAccessibleName(FScene.SeatName(seat));
        if (seat != FTurn)
            label.setAccessibleDescription("Seat");
        FScene.Pile(seat).setAccessibleDescription("Tricks won by " + FScene.SeatName(seat) +
                                                   "; hold to see the last trick");
    }
    FScene.WaitFor().setAccessibleDescription("Whose turn");
    FScene.WhoWon().setAccessibleDescription("Winner of the trick");
    FScene.Prompt().setAccessibleDescription("Prompt");
    FScene.Bids().setAccessibleName("Bids");
    DescribeBids(false);
    FScene.StopButton().setAccessibleName("Stop");
    FScene.StopButton().setAccessibleDescription(FScene.StopButton().toolTip());
}

void TTableAccessibility::DescribeTrick()
{
    QStringList played;
    for (int place = 1; place <= 4; ++place) {
        const TPlayStack& stack = FGame.Table.Place(place);
        if (!stack.HasCard())
            continue;
        const QString text = PlayedText(SeatName(stack.FSeat), stack.FValue);
        played << text;
        if (stack.FCard)
            if (TCardDeck* card = FScene.Card(QString::fromStdString(stack.FCard->Name())))
                card->setAccessibleDescription(text);
    }
    const QString description = played.isEmpty() ? QString("No cards") : played.join(", ");
    FScene.PlayArea().setAccessibleDescription(description);
    QAccessibleEvent changed(&FScene.PlayArea(), QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

void TTableAccessibility::SetTurn(int seat, bool bidding)
{
    if (seat == FTurn)
        return;
    if (FTurn >= North && FTurn <= West) {
        FScene.SeatLabel(FTurn).SetFontColour(FTurnWas);
        FScene.SeatLabel(FTurn).setAccessibleDescription("Seat");
    }
    FTurn = seat;
    if (seat < North || seat > West)
        return;
    TLabelEffect& label = FScene.SeatLabel(seat);
    FTurnWas = label.FontColour();
    label.SetFontColour(TurnColour);
    label.setAccessibleDescription(bidding ? "Seat, to bid" : "Seat, to play");
    Announce(SeatName(seat) + (bidding ? " to bid" : " to play"));
}

void TTableAccessibility::DescribeBids(bool withSides)
{
    FScene.Bids().setAccessibleDescription(withSides ? "Each seat's bid, tricks taken and bags, then each side's: "
                                                       "North-South, East-West"
                                                     : "Each seat's bid, tricks taken and bags");
}

void TTableAccessibility::AnnounceWinner(int seat) { Announce(SeatName(seat) + " won the trick"); }

void TTableAccessibility::Announce(const QString& text)
{
    TLabelEffect& label = FScene.WaitFor();
    label.setAccessibleDescription(text);
    QAccessibleEvent alert(&label, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
    emit announced(text);
}

}  // namespace spades
