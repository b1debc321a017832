// spades-sim's networked modes: a host with no window, and a seat that joins a
// hosted table and plays by itself. Kept apart from the simulator so that the
// simulator's library needs no Qt.
#pragma once

namespace spades {

// True when the arguments ask for --host or --join.
bool WantsNetwork(int argc, char** argv);
// Runs the networked mode the arguments ask for; returns the exit status.
int RunNetwork(int argc, char** argv);

}  // namespace spades
