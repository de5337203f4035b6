#pragma once
// The settings of one test: a store and the model over it, made with the test's fixture and gone
// with it, so that no value set or stored by one test, however it failed, reaches the next.

#include "settings/FileRegistryBackend.h"
#include "settings/MemoryRegistryBackend.h"
#include "settings/SettingsModel.h"

#include <functional>
#include <memory>
#include <string>

namespace testsupport {

class TScopedSettings {
public:
    // Over a store in memory, read by nobody yet.
    TScopedSettings() { Open(std::make_unique<TMemoryRegistryBackend>()); }
    // Over the store file at path, as a newly started program sees it.
    explicit TScopedSettings(const std::string &storePath) { OpenFile(storePath); }
    TScopedSettings(const TScopedSettings &) = delete;
    TScopedSettings &operator=(const TScopedSettings &) = delete;

    TSettingsModel &Model() { return *FModel; }
    const TRecRec &Record() const { return FModel->Record(); }
    TRegistryBackend &Backend() { return *FBackend; }
    // The store in memory of the first form.
    TMemoryRegistryBackend &Memory() { return static_cast<TMemoryRegistryBackend &>(*FBackend); }

    // A fresh model over a fresh view of the store file, as the next start of the program has.
    void OpenFile(const std::string &storePath) { Open(std::make_unique<TFileRegistryBackend>(storePath)); }
    // Reads the store as a start in Dutch on a 1024 x 768 screen at 96 dpi does; the first one
    // stores the defaults.
    void Read() { FModel->Read(96, 1024, 768, 0x0413); }
    // Changes the settings in force for this run, as Options closed without OK does: the
    // listeners hear, nothing is stored.
    void Change(const std::function<void(TRecRec &)> &change)
    {
        TRecRec rec = FModel->Record();
        change(rec);
        FModel->Keep(rec);
    }

private:
    void Open(std::unique_ptr<TRegistryBackend> backend)
    {
        FModel.reset();
        FBackend = std::move(backend);
        FModel = std::make_unique<TSettingsModel>(*FBackend);
    }

    std::unique_ptr<TRegistryBackend> FBackend;
    std::unique_ptr<TSettingsModel> FModel;
};

} // namespace testsupport
