// Who plays a seat, and how each place that stores or shows it spells it: the
// settings file, the history, the wire and the play log each have one row here.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "PlayerU.h"

namespace spades {


// Human: a person at this machine. Computer: the classic strategy. Expert: the
// sampling player. Remote: a player at another machine.
enum class TSeatKind : uint8_t { Human, Computer, Expert, Remote };

// What the seat's flags say it is; asked at every card.
inline TSeatKind SeatKindOf(const TPlayer& player)
{
    // A nonzero id marks a seat played from another machine.
    if (player.FNet.Id != 0)
        return TSeatKind::Remote;
    return player.FHuman ? TSeatKind::Human : player.FExpert ? TSeatKind::Expert : TSeatKind::Computer;
}
// Sets the flags that say so; a person's hand is shown face up.
void SetSeatKind(TPlayer& player, TSeatKind kind);

// A person's choices, here or at another machine, are checked and reveal nothing
// of a strategy; a computer seat's are its strategy's.
constexpr bool IsPerson(TSeatKind kind) { return kind == TSeatKind::Human || kind == TSeatKind::Remote; }

// The settings file's player type (0 person, 1 computer, 2 Expert); a remote seat
// is kept as a person's, and anything unknown reads as the computer.
uint8_t SettingsValue(TSeatKind kind);
TSeatKind SeatKindFromSettings(int value);
// The history's stored seat type, with the same numbers.
int HistoryValue(TSeatKind kind);
TSeatKind SeatKindFromHistory(int value);
// The wire's seat player byte (1 person, 2 classic, 3 Expert); nothing for other bytes.
uint8_t WireValue(TSeatKind kind);
std::optional<TSeatKind> SeatKindFromWire(uint8_t value);
// The play log's word after the seat's name: "Human", "Computer", "Expert", "Remote".
std::string_view LogName(TSeatKind kind);
// The command-line word: "person", "classic", "expert", "remote".
std::string_view SeatKindWord(TSeatKind kind);
std::optional<TSeatKind> SeatKindNamed(std::string_view word);

}  // namespace spades
