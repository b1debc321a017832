#include "LastTrick.h"

#include <QEvent>
#include <QMouseEvent>

#include "CardDeck.h"
#include "Shape.h"
#include "LblEffct.h"
#include "SpadesGame.h"
#include "TableAccessibility.h"
#include "TableScene.h"
#include "Tilemap.h"

namespace spades {

TLastTrick::TLastTrick(TTableScene& scene, TTrickTags& tags) : QObject(&scene), FScene(scene), FTags(tags)
{
    const QRect area = FScene.TableRect(FScene.PlayArea());
    for (int place = 1; place <= 4; ++place) {
        auto* card = new TCardDeck(&FScene.Surface());
        card->setObjectName(QString("crdLastTrick%1").arg(place));
        card->setAttribute(Qt::WA_TransparentForMouseEvents);
        card->hide();
        const TCardRect bounds = TrickPlaceRect(place, area.left(), area.top());
        FScene.Place(*card, QRect(bounds.Left, bounds.Top, bounds.Width, bounds.Height));
        FShown[static_cast<size_t>(place - 1)] = card;
    }
    for (int seat = North; seat <= West; ++seat)
        FScene.Pile(seat).installEventFilter(this);
}

void TLastTrick::Record(const TTableState& table, int winner)
{
    for (int place = 1; place <= 4; ++place) {
        const size_t i = static_cast<size_t>(place - 1);
        FLast.Cards[i] = table.Place(place).FValue > 0 ? table.Place(place).FValue : 0;
        FLast.Trick.Seats[i] = table.Place(place).FSeat;
    }
    FLast.Trick.Winner = winner;
    if (winner >= North && winner <= West)
        FWonBy[static_cast<size_t>(winner)] = FLast;
}

void TLastTrick::Forget()
{
    Hide();
    FLast = {};
    FWonBy = {};
}

void TLastTrick::Show(int seat)
{
    const TWon& won = seat >= North && seat <= West ? FWonBy[static_cast<size_t>(seat)] : FLast;
    if (won.Cards[0] == 0 || FShowing)
        return;
    FShowing = true;
    FTags.SetShown(won.Trick);
    for (size_t i = 0; i < FShown.size(); ++i) {
        TCardDeck& card = *FShown[i];
        card.SetValue(static_cast<uint8_t>(won.Cards[i]));
        card.SetOutline(won.Trick.Seats[i] == won.Trick.Winner ? TCardDeck::TOutline::Hint : TCardDeck::TOutline::None);
        const int seat = won.Trick.Seats[i];
        card.setAccessibleDescription(seat >= North && seat <= West
                                          ? PlayedText(FScene.SeatName(seat), won.Cards[i])
                                          : QString());
        card.SetVisible(true);
        card.show();
        card.raise();
    }
}

void TLastTrick::Hide()
{
    if (!FShowing)
        return;
    FShowing = false;
    FTags.SetShown({});
    for (TCardDeck* card : FShown) {
        card->SetVisible(false);
        card->hide();
    }
}

bool TLastTrick::eventFilter(QObject* watched, QEvent* event)
{
    const auto* pile = qobject_cast<TCardDeck*>(watched);
    if (pile && pile->Visible()) {
        if (event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            Show(pile->objectName().right(1).toInt());
        else if (event->type() == QEvent::MouseButtonRelease &&
                 static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            Hide();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace spades
