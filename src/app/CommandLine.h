#pragma once
// The command line. The actions (--help, --version, --format, --info, --export-settings,
// --import-settings) print what they were asked for and end; they need no display, open no window
// and load none of the window's libraries: this is plain C++. Mistakes end with one line on
// standard error and status 2.

#include <optional>
#include <string>
#include <vector>

struct TStartOptions {
    bool Minimized = false; // start minimised this once (to the tray when the settings say so)
    bool Tray = false;      // start hidden in the tray this once
};

// The exit status when the command line asked for an action or held a mistake, which has then
// been carried out or reported; empty when the window is to start, as `start` says. The first
// argument is the program's name.
std::optional<int> RunCommandLine(const std::vector<std::string> &arguments, TStartOptions &start);
