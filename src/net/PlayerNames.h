// What a player's name may be at a hosted table. A name only shows who is who,
// so it must not pass for another: one that reads like another player's, or
// like a seat's own name, is refused.
#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace spades::net {

// The name as the table keeps it (NFKC), or nullopt with why when it holds
// invisible, direction-changing or control characters, or is no name.
std::optional<std::string> NormalName(std::string_view name, std::string* why = nullptr);

// What a name looks like: case folded, accents and spaces gone, and a small
// table of look-alikes (Cyrillic and Greek letters like Latin ones, 0 like o,
// 1 and I like l) read as one letter. Names with the same look are one name.
QString NameLook(std::string_view name);

// A text from the host as it may be shown or printed: bad UTF-8 replaced, and
// control characters (escape sequences' lead-in among them) and invisible or
// direction-changing ones removed.
QString ShownText(std::string_view text);

// One of "North", "East", "South", "West", as they look.
bool LooksLikeSeatName(std::string_view name);

}  // namespace spades::net
