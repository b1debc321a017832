// Plays a joined table as a person does: the bid in the bid dialog, a card by
// a click on the strip of it that shows in the fan.
#pragma once

#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <functional>

#include "BidDialog.h"
#include "CardDeck.h"
#include "JoinedTable.h"
#include "Rules.h"
#include "TableScene.h"

namespace spades::net::testing {

// The own seat's card control at the bottom of the table.
inline TCardDeck* OwnCard(const TJoinedTable& table, int slot)
{
    return table.Scene().Card(QStringLiteral("imgPlayer3%1").arg(slot));
}

// Clicks where the card shows in its fan (the left edge, which the next card
// leaves free); false when something else lies there.
inline bool ClickStrip(TJoinedTable& table, TCardDeck& card)
{
    const QPoint at = card.mapTo(&table, QPoint(3, card.height() / 2));
    QWidget* hit = table.childAt(at);
    if (hit != &card)
        return false;
    QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(&table, at));
    return true;
}

inline bool AnswerBid(TJoinedTable& table, int bid)
{
    TdlgBid* dialog = table.BidDialog();
    if (!dialog || !dialog->isVisible())
        return false;
    dialog->edtBid()->setValue(bid);
    QTest::mouseClick(dialog->OKBtn(), Qt::LeftButton);
    return true;
}

// The first slot whose card the rules allow (or refuse, with lawful false), 0 when none.
inline int SlotWhere(const TJoinedTable& table, bool lawful)
{
    const TTableMirror& m = const_cast<TJoinedTable&>(table).Client().Mirror();
    const TPlayer& own = m.Player(m.Seat());
    for (int slot = 1; slot <= 13; ++slot) {
        const int card = own.FHand[static_cast<size_t>(slot)];
        if (card != NoCard && (CheckPlay(m.Table(), own, card) == TPlayVerdict::Legal) == lawful)
            return slot;
    }
    return 0;
}

}  // namespace spades::net::testing
