#include "PlayComfort.h"

#include <QMainWindow>

#include "CardDeck.h"
#include "CardMotion.h"
#include "ExtListView.h"
#include "KeyboardPlay.h"
#include "LastTrick.h"
#include "SpadesGame.h"
#include "TableAccessibility.h"
#include "TableScene.h"
#include "TrickTags.h"
#include "Tilemap.h"

namespace spades {

namespace {

QString CardControlName(int seat, int slot)
{
    const std::string_view name = TCardName(seat, slot).View();
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

TPlayComfort::TPlayComfort(QMainWindow& window, TTableScene& scene, TSpadesGame& game)
    : QObject(&window),
      FScene(scene),
      FGame(game),
      FHover(std::make_unique<TCardHover>(scene)),
      FTags(std::make_unique<TTrickTags>(scene)),
      FLastTrick(std::make_unique<TLastTrick>(scene, *FTags)),
      FMotion(std::make_unique<TCardMotion>(scene)),
      FAccessibility(std::make_unique<TTableAccessibility>(scene, game)),
      FKeys(std::make_unique<TKeyboardPlay>(window, *FHover, *FLastTrick))
{
    // The table itself takes the keyboard, so the keys reach the cards.
    scene.Surface().setFocusPolicy(Qt::StrongFocus);
    scene.Surface().setAccessibleName("Card table");
    FKeys->Watch(scene.Surface());
    FKeys->Watch(scene.Bids());
    scene.CardMoved = [this](QWidget& card, const QRectF& from) { CardMoved(card, from); };
}

TPlayComfort::~TPlayComfort()
{
    FScene.CardMoved = nullptr;
}

void TPlayComfort::SetOptions(bool markPlayable, bool animateCards)
{
    FMarkPlayable = markPlayable;
    FHover->SetShading(markPlayable);  // a fan waiting for its card changes at once
    FMotion->SetEnabled(animateCards);
    FAccessibility->NameControls();
}

void TPlayComfort::HandDealt()
{
    FHover->Disarm();
    FAccessibility->SetTurn(0, false);
    FLastTrick->Forget();
    TagTrick(0);
    FAccessibility->DescribeTrick();
    std::vector<TCardDeck*> dealt;
    for (int slot = 1; slot <= 13; ++slot)
        for (int seat = North; seat <= West; ++seat)
            if (TCardDeck* card = FScene.Card(CardControlName(seat, slot))) {
                card->setAccessibleDescription({});  // back in a hand: no longer on the trick
                if (card->Visible())
                    dealt.push_back(card);
            }
    FMotion->Deal(dealt);
}

void TPlayComfort::TableRestoring()
{
    FMotion->Finish();
    FHover->Disarm();
    FTags->SetCurrent({});
}

void TPlayComfort::TableRestored(bool forgetTricks)
{
    FMotion->Finish();
    FHover->Disarm();
    FAccessibility->SetTurn(0, false);
    if (forgetTricks)
        FLastTrick->Forget();
    TagTrick(0);
    FAccessibility->DescribeTrick();
}

void TPlayComfort::TurnBegins(int seat, bool bidding) { FAccessibility->SetTurn(seat, bidding); }

void TPlayComfort::SeatArmed(int seat, TCardHover::TPlay play)
{
    const TPlayer& player = FGame.Table.Player(seat);
    std::vector<TCardDeck*> cards;
    std::vector<bool> playable;
    for (int slot = 1; slot <= 13; ++slot) {
        if (player.FHand[static_cast<size_t>(slot)] == NoCard)
            continue;
        if (TCardDeck* card = FScene.Card(CardControlName(seat, slot))) {
            cards.push_back(card);
            playable.push_back(FGame.CheckPersonCard(seat, slot) == TPlayVerdict::Legal);
        }
    }
    FHover->Arm(std::move(cards), std::move(playable), FMarkPlayable, std::move(play));
    if (!FScene.Surface().hasFocus() && FScene.Surface().window()->isActiveWindow())
        FScene.Surface().setFocus(Qt::OtherFocusReason);
}

void TPlayComfort::SeatDisarmed() { FHover->Disarm(); }

void TPlayComfort::TrickWon(int winner)
{
    FAccessibility->AnnounceWinner(winner);
    FAccessibility->SetTurn(0, false);
    TagTrick(winner);
}

void TPlayComfort::TagTrick(int winner)
{
    TTrickTags::TTrick trick;
    TCardDeck* winnerCard = nullptr;
    for (int place = 1; place <= 4; ++place) {
        const TPlayStack& stack = FGame.Table.Place(place);
        if (!stack.HasCard())
            continue;
        trick.Seats[static_cast<size_t>(place - 1)] = stack.FSeat;
        if (stack.FSeat == winner && stack.FCard)
            winnerCard = FScene.Card(QString::fromStdString(stack.FCard->Name()));
    }
    trick.Winner = winner;
    FTags->SetCurrent(trick, winnerCard);
}

void TPlayComfort::TrickTaken(int winner)
{
    FLastTrick->Record(FGame.Table, winner);
    std::vector<std::pair<int, QRect>> cards;
    for (int place = 1; place <= 4; ++place) {
        const TPlayStack& stack = FGame.Table.Place(place);
        if (!stack.HasCard() || !stack.FCard)
            continue;
        if (TCardDeck* card = FScene.Card(QString::fromStdString(stack.FCard->Name())))
            cards.emplace_back(stack.FValue, FScene.TableRect(*card));
    }
    if (winner >= North && winner <= West)
        FMotion->Sweep(cards, FScene.TableRect(FScene.Pile(winner)));
    FTags->SetCurrent({});
}

void TPlayComfort::CardMoved(QWidget& card, const QRectF& from)
{
    FAccessibility->DescribeTrick();
    TagTrick(0);
    if (auto* deck = qobject_cast<TCardDeck*>(&card))
        FMotion->Glide(*deck, from);
}

}  // namespace spades
