#include "CardHover.h"

#include <QCursor>
#include <QMouseEvent>

#include "CardDeck.h"
#include "TableScene.h"
#include "Tilemap.h"

namespace spades {

TCardHover::TCardHover(TTableScene& scene) : QObject(&scene), FScene(scene)
{
    FScene.Surface().setMouseTracking(true);
    FScene.Surface().installEventFilter(this);
    // The window hears the pointer leave even when a message box took the card's own leave.
    if (QWidget* window = FScene.Surface().window(); window && window != &FScene.Surface())
        window->installEventFilter(this);
}

TCardHover::~TCardHover() = default;

void TCardHover::Arm(std::vector<TCardDeck*> cards, std::vector<bool> playable, bool shade, TPlay play)
{
    Disarm();
    FPlayable = std::move(playable);
    FPlayable.resize(cards.size(), true);
    FPlay = std::move(play);
    for (size_t i = 0; i < cards.size(); ++i) {
        TCardDeck* card = cards[i];
        FCards.emplace_back(card);
        card->setMouseTracking(true);
        card->installEventFilter(this);
        card->SetShaded(shade && !FPlayable[i]);
    }
    // The pointer may already rest on the fan.
    Hover(QCursor::pos());
}

void TCardHover::SetShading(bool shade)
{
    for (size_t i = 0; i < FCards.size(); ++i)
        if (FCards[i])
            FCards[i]->SetShaded(shade && !FPlayable[i]);
}

void TCardHover::Disarm()
{
    Lower();
    for (const QPointer<TCardDeck>& card : FCards) {
        if (!card)
            continue;
        card->removeEventFilter(this);
        card->SetShaded(false);
        card->SetOutlined(false);
    }
    FCards.clear();
    FPlayable.clear();
    FPlay = nullptr;
}

int TCardHover::IndexOf(const TCardDeck* card) const
{
    for (size_t i = 0; i < FCards.size(); ++i)
        if (FCards[i] == card)
            return static_cast<int>(i);
    return -1;
}

void TCardHover::Lower()
{
    if (!FLifted)
        return;
    TCardDeck& card = *FLifted;
    FLifted = nullptr;
    card.SetOutlined(false);
    // Back to where the scene keeps it (the game may have moved it meanwhile).
    card.setGeometry(FScene.ToWindow(FScene.TableRect(card)));
}

void TCardHover::LiftCard(TCardDeck* card, TCardDeck::TOutline outline)
{
    if (card && IndexOf(card) < 0)
        card = nullptr;
    if (card != FLifted)
        Lower();
    if (!card)
        return;
    FLifted = card;
    card->setGeometry(FScene.ToWindow(FScene.TableRect(*card).translated(0, -Lift)));
    card->SetOutline(outline);
}

void TCardHover::Recheck() { Hover(QCursor::pos()); }

TCardDeck* TCardHover::CardAt(QPointF table) const
{
    // The fan's later cards lie on top of the earlier ones.
    for (auto it = FCards.rbegin(); it != FCards.rend(); ++it) {
        if (!*it || !(*it)->Visible())
            continue;
        const QRect place = FScene.TableRect(**it).adjusted(0, -Lift, 0, 0);
        if (QRectF(place).contains(table))
            return *it;
    }
    return nullptr;
}

void TCardHover::Hover(const QPoint& global)
{
    if (FCards.empty())
        return;
    const QPointF table = FScene.ToTable(FScene.Surface().mapFromGlobal(QPointF(global)));
    TCardDeck* card = CardAt(table);
    // A card the rules refuse stays in the fan, shaded.
    if (card && card->Shaded()) {
        if (FLifted && !FLifted->Outlined())
            Lower();
        return;
    }
    // A keyboard mark stays until the pointer picks another card.
    if (!card && FLifted && FLifted->Outlined())
        return;
    if (card != FLifted || (card && card->Outlined()))
        LiftCard(card);
}

void TCardHover::Step(int direction)
{
    if (FCards.empty())
        return;
    const int count = static_cast<int>(FCards.size());
    int index = IndexOf(FLifted);
    if (index < 0)
        index = direction > 0 ? -1 : count;
    for (int tries = 0; tries < count; ++tries) {
        index = (index + direction + count) % count;
        if (FPlayable[static_cast<size_t>(index)] && FCards[static_cast<size_t>(index)]) {
            LiftCard(FCards[static_cast<size_t>(index)], TCardDeck::TOutline::Mark);
            return;
        }
    }
}

bool TCardHover::PlayLifted()
{
    if (!FLifted || !FPlay)
        return false;
    // The play disarms this fan; keep what is needed on the stack.
    QPointer<TCardDeck> card = FLifted;
    TPlay play = FPlay;
    play(*card);
    return true;
}

bool TCardHover::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &FScene.Surface() && !qobject_cast<TCardDeck*>(watched)) {
        // The pointer is off the window: a card it lifted goes back; a keyboard mark stays.
        if ((event->type() == QEvent::Leave || event->type() == QEvent::WindowDeactivate) && FLifted &&
            !FLifted->Outlined())
            Lower();
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::MouseMove:
        Hover(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        break;
    case QEvent::Leave:
        // Out of the window straight from a card, too.
        Hover(QCursor::pos());
        break;
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton || watched == &FScene.Surface() || FCards.empty())
            break;
        // A refused card answers the click itself, with the rule it breaks.
        const TCardDeck* under =
            CardAt(FScene.ToTable(FScene.Surface().mapFromGlobal(mouse->globalPosition())));
        if (under && under->Shaded())
            break;
        Hover(mouse->globalPosition().toPoint());
        // The release belongs to the fan: the lifted card is the one played.
        if (FLifted) {
            event->accept();
            PlayLifted();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace spades
