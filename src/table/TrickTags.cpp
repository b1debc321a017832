#include "TrickTags.h"

#include <QFontMetrics>
#include <QLabel>

#include "CardDeck.h"
#include "Shape.h"
#include "SpadesGame.h"
#include "TableScene.h"
#include "Tilemap.h"

namespace spades {

namespace {

constexpr int TagHeight = 16;
constexpr int TagGap = 60;  // the places' step: the part of each card that stays in sight

}  // namespace

TTrickTags::TTrickTags(TTableScene& scene) : QObject(&scene), FScene(scene)
{
    const QRect area = FScene.TableRect(FScene.PlayArea());
    for (int place = 1; place <= 4; ++place) {
        auto* tag = new QLabel(&FScene.Surface());
        tag->setObjectName(QString("lblTrickTag%1").arg(place));
        tag->setAttribute(Qt::WA_TransparentForMouseEvents);
        tag->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        QFont font("DejaVu Sans");
        font.setPixelSize(11);
        tag->setFont(font);
        tag->hide();
        const TCardRect card = TrickPlaceRect(place, area.left(), area.top());
        FScene.Place(*tag, QRect(card.Left + 1, card.Top - TagHeight - 1, TagGap - 2, TagHeight));
        FTags[static_cast<size_t>(place - 1)] = tag;
    }
}

void TTrickTags::SetCurrent(const TTrick& trick, TCardDeck* winnerCard)
{
    if (FOutlined && FOutlined != winnerCard)
        FOutlined->SetOutline(TCardDeck::TOutline::None);
    FOutlined = winnerCard;
    if (winnerCard)
        winnerCard->SetOutline(TCardDeck::TOutline::Hint);
    FCurrent = trick;
    Draw();
}

void TTrickTags::SetShown(const TTrick& trick)
{
    FShown = trick;
    Draw();
}

void TTrickTags::Draw()
{
    const bool other = FShown.Seats[0] != 0;
    const TTrick& trick = other ? FShown : FCurrent;
    for (size_t i = 0; i < FTags.size(); ++i) {
        QLabel& tag = *FTags[i];
        const int seat = trick.Seats[i];
        if (seat < North || seat > West) {
            tag.hide();
            continue;
        }
        const QString name = FScene.SeatName(seat);
        const bool winner = seat == trick.Winner;
        // Drawn at the table's scale: the tag's width is the scaled width.
        const QString shown = tag.fontMetrics().elidedText(name, Qt::ElideRight, tag.width() - 4);
        tag.setText(shown);
        tag.setToolTip(name);
        tag.setStyleSheet(winner ? "color: black; background: #FFE000; border-radius: 3px; padding-left: 2px;"
                                 : "color: white; background: rgba(0, 0, 0, 90); border-radius: 3px; padding-left: 2px;");
        tag.setAccessibleName(winner ? name + ", winner" : name);
        tag.show();
        tag.raise();
    }
}

}  // namespace spades
