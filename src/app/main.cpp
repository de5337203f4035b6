#include "app/CommandLine.h"
#include "app/WindowStart.h"

int main(int argc, char **argv)
{
    // The actions of the command line run before, and without, anything of the window.
    TStartOptions start;
    if (const std::optional<int> status = RunCommandLine({argv, argv + argc}, start))
        return *status;
    return StartWindow(argc, argv, start);
}
