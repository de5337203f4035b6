#pragma once
// The part of a download that needs Qt's network library. That library and what it loads cost
// the window a tenth of its start-up time, so the window loads the engine from a module of its
// own (orvani-network.so, beside the window module) at the first download; tests and tools link
// the engine directly.

#include <QByteArray>
#include <QUrl>

#include <functional>
#include <memory>

enum class TDownloadResult {
    Succeeded, // a 2xx answer; the body is complete
    NotFound,  // the server has no such file (404, 410)
    Failed,    // no connection, time-out, any other error status, body over the limit, bad redirect
};

class TDownloadEngine {
public:
    using TDone = std::function<void(TDownloadResult result, const QByteArray &body)>;

    virtual ~TDownloadEngine() = default;
    // Fetches the address; a body over maxBytes fails. done is called once, unless the fetch is
    // abandoned first; the body is empty unless it succeeded.
    virtual void Get(const QUrl &url, qint64 maxBytes, TDone done) = 0;
    // Abandons the running fetch, if any, without calling its done.
    virtual void Abort() = 0;
};

// The engine for this program: linked in, or loaded from the module; nullptr when it cannot be
// loaded.
std::unique_ptr<TDownloadEngine> MakeDownloadEngine();

// The engine itself, and the module's entry point that makes one.
std::unique_ptr<TDownloadEngine> MakeNetworkEngine();
extern "C" {
using TMakeEngine = TDownloadEngine *();
inline constexpr const char *MakeEngineName = "OrvaniMakeDownloadEngine";
}
