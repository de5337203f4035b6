#include "app/WindowStart.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

// The folder of the running command.
std::string CommandFolder()
{
    std::string path(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || std::size_t(length) >= path.size())
        return ".";
    path.resize(std::size_t(length));
    return path.substr(0, path.rfind('/'));
}

// Qt ends a window start with no display at all by aborting with a hint at reinstalling; the
// user is told instead what is missing, before any library of the window is loaded. Qt's own
// -platform and -display options choose for themselves.
bool NoDisplay(int argc, char **argv)
{
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (const char *value = std::getenv(name); value && *value)
            return false;
    }
    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        argument.remove_prefix(argument.substr(0, 2) == "--" ? 2 : argument.substr(0, 1) == "-" ? 1 : 0);
        for (const std::string_view name : {"platform", "display"}) {
            if (argument.substr(0, name.size()) == name &&
                (argument.size() == name.size() || argument[name.size()] == '='))
                return false;
        }
    }
    return true;
}

} // namespace

int StartWindow(int argc, char **argv, const TStartOptions &start)
{
    if (NoDisplay(argc, argv)) {
        std::fputs("orvani: no display found; orvani --help lists what works without one\n", stderr);
        return 1;
    }
    // Installed, the module lies in the program's library folder; in the build tree, beside the command.
    const std::string folder = CommandFolder();
    void *module = nullptr;
    // Functions are bound at their first call, as for a program linked to its libraries: binding
    // all of them at once, those of the toolkit's libraries included, costs start-up time for
    // functions the window may never call.
    for (const std::string &path : {folder + "/" ORVANI_WINDOW_MODULE, folder + "/orvani-window.so"}) {
        if ((module = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL)))
            break;
    }
    auto *windowMain = module ? reinterpret_cast<TWindowMain *>(dlsym(module, WindowMainName)) : nullptr;
    if (!windowMain) {
        std::fprintf(stderr, "orvani: cannot load the window: %s\n", dlerror());
        return 1;
    }
    return windowMain(argc, argv, &start);
}
