// orvani-network.so: the download engine, which the window loads at its first download.
#include "platform/DownloadEngine.h"

extern "C" __attribute__((visibility("default"))) TDownloadEngine *OrvaniMakeDownloadEngine()
{
    return MakeNetworkEngine().release();
}
