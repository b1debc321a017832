#include "SeatKind.h"

#include <array>


namespace spades {

namespace {
struct TKindRow {
    TSeatKind Kind;
    uint8_t Settings;
    uint8_t Wire;
    std::string_view Log;
    std::string_view Word;
};
constexpr std::array<TKindRow, 4> Rows = {{
    {TSeatKind::Human, 0, 1, "Human", "person"},
    {TSeatKind::Computer, 1, 2, "Computer", "classic"},
    {TSeatKind::Expert, 2, 3, "Expert", "expert"},
    {TSeatKind::Remote, 0, 1, "Remote", "remote"},
}};
const TKindRow& RowOf(TSeatKind kind) { return Rows[static_cast<size_t>(kind)]; }
}  // namespace

void SetSeatKind(TPlayer& player, TSeatKind kind)
{
    player.SetHuman(kind == TSeatKind::Human);
    if (kind == TSeatKind::Human)
        player.SetFaceUp(true);
    player.FExpert = kind == TSeatKind::Expert;
    player.FNet.Id = kind == TSeatKind::Remote ? player.FSeat : 0;
}

uint8_t SettingsValue(TSeatKind kind) { return RowOf(kind).Settings; }

TSeatKind SeatKindFromSettings(int value)
{
    return value == 0 ? TSeatKind::Human : value == 2 ? TSeatKind::Expert : TSeatKind::Computer;
}

int HistoryValue(TSeatKind kind) { return SettingsValue(kind); }

TSeatKind SeatKindFromHistory(int value) { return SeatKindFromSettings(value); }

uint8_t WireValue(TSeatKind kind) { return RowOf(kind).Wire; }

std::optional<TSeatKind> SeatKindFromWire(uint8_t value)
{
    for (const TKindRow& row : Rows)
        if (row.Wire == value)
            return row.Kind;  // the first row of a byte: a person's is Human
    return std::nullopt;
}

std::string_view LogName(TSeatKind kind) { return RowOf(kind).Log; }

std::string_view SeatKindWord(TSeatKind kind) { return RowOf(kind).Word; }

std::optional<TSeatKind> SeatKindNamed(std::string_view word)
{
    for (const TKindRow& row : Rows)
        if (row.Word == word)
            return row.Kind;
    return std::nullopt;
}

}  // namespace spades
