// Tests and tools fetch with the engine linked in.
#include "platform/DownloadEngine.h"

std::unique_ptr<TDownloadEngine> MakeDownloadEngine()
{
    return MakeNetworkEngine();
}
