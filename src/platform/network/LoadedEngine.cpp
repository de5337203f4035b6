// The window loads the download engine from the module beside its own.
#include "platform/DownloadEngine.h"

#include <cstdio>
#include <dlfcn.h>
#include <string>

std::unique_ptr<TDownloadEngine> MakeDownloadEngine()
{
    Dl_info self{};
    if (!dladdr(reinterpret_cast<void *>(&MakeDownloadEngine), &self) || !self.dli_fname)
        return nullptr;
    const std::string own = self.dli_fname;
    const std::string path = own.substr(0, own.rfind('/') + 1) + "orvani-network.so";
    // Never unloaded: the engine's code must outlive the engine, and a later download needs it again.
    void *module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    auto *make = module ? reinterpret_cast<TMakeEngine *>(dlsym(module, MakeEngineName)) : nullptr;
    if (!make) {
        std::fprintf(stderr, "orvani: cannot load the network module: %s\n", dlerror());
        return nullptr;
    }
    return std::unique_ptr<TDownloadEngine>(make());
}
