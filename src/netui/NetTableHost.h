// What play over the network needs of the window it starts from: how the
// window's table looks, its pause, its game history and prompts, and a place
// for a joined table in place of its own.
#pragma once

#include <QString>

#include <cstdint>
#include <memory>

#include "PlayerU.h"
#include "RuleSet.h"

class QWidget;

namespace spades {
class TCardFaces;
class THistoryStore;
class TTablePrompts;
}  // namespace spades

namespace spades::net {

class TJoinedTable;

// The preferences a table is drawn with.
struct TTableLook {
    QString Surface = QStringLiteral("IDB_GREENCLOTH");
    uint8_t CardBack = FirstBackValue;
    std::shared_ptr<TCardFaces> Faces;  // nullptr: the built-in faces
    bool MarkPlayable = false;          // shade the cards the rules refuse, at the seat's turn
};

class TNetTableHost {
public:
    virtual ~TNetTableHost() = default;

    // Owner of the network dialogs.
    virtual QWidget* NetWindow() = 0;
    virtual TTableLook Look() const = 0;
    // The play speed's pause in milliseconds, as the window's own table takes it.
    virtual int PlayPause() const = 0;
    // The rules a game begun now is played by: those of the preferences.
    virtual TRuleSet NextRules() const = 0;
    // Where hosted games are recorded; nullptr when there is no history in this run.
    virtual THistoryStore* GameHistory() = 0;
    virtual TTablePrompts& Prompts() = 0;

    // Shows the table in place of the window's own, whose game is given up as a
    // new game gives it up; the window takes the table. A table shown before is closed.
    virtual void ShowJoinedTable(TJoinedTable* table) = 0;
    // The window's own table again.
    virtual void LeaveJoinedTable() = 0;
    virtual TJoinedTable* JoinedTable() const = 0;
};

}  // namespace spades::net
