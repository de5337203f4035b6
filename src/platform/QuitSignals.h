#pragma once
// SIGTERM and SIGINT end the program as if the user had closed its main window: the handler
// only writes a byte to a pipe; the event loop reads it and runs the callback.

#include <functional>

void InstallQuitSignalHandler(std::function<void()> onQuitRequest);
