#pragma once
// Starting the window from the orvani command. The window and its libraries live in a module of
// their own, loaded only here, so the command line's actions never load them.

#include "app/CommandLine.h"

// Loads the window module and runs the window; the program's exit status. A module that cannot
// be loaded is reported on standard error with status 1.
int StartWindow(int argc, char **argv, const TStartOptions &start);

// The module's entry point, as both sides name it.
extern "C" {
using TWindowMain = int(int argc, char **argv, const TStartOptions *start);
inline constexpr const char *WindowMainName = "OrvaniWindowMain";
}
