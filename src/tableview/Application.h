// What every program that shows the table sets up first: its names, version,
// icon and the fonts the table's text asks for.
#pragma once

namespace spades {

constexpr const char* DesktopId = "net.tarnwell.QuelbrinSpades";
// The main window's caption and the title of the table's message boxes.
constexpr const char* ProgramTitle = "Quelbrin Spades";

// Call once the application object exists.
void SetUpApplication();

}  // namespace spades
