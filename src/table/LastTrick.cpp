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

TLastTrick::TLastTrick(TTableScene& scene) : QObject(&scene), FScene(scene)
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

void TLastTrick::Record(const TTableState& table)
{
    for (int place = 1; place <= 4; ++place) {
        FCards[static_cast<size_t>(place - 1)] = table.Place(place).FValue > 0 ? table.Place(place).FValue : 0;
        FSeats[static_cast<size_t>(place - 1)] = table.Place(place).FSeat;
    }
}

void TLastTrick::Forget()
{
    Hide();
    FCards = {};
    FSeats = {};
}

void TLastTrick::Show()
{
    if (!HasTrick() || FShowing)
        return;
    FShowing = true;
    for (size_t i = 0; i < FShown.size(); ++i) {
        TCardDeck& card = *FShown[i];
        card.SetValue(static_cast<uint8_t>(FCards[i]));
        const int seat = FSeats[i];
        card.setAccessibleDescription(seat >= North && seat <= West
                                          ? PlayedText(FScene.SeatLabel(seat).Caption(), FCards[i])
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
            Show();
        else if (event->type() == QEvent::MouseButtonRelease &&
                 static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            Hide();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace spades
