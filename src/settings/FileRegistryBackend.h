#pragma once
// The per-user store on Linux and other non-Windows systems: one text file in the registry
// editor's export format. Every write takes an exclusive lock (a lock file beside the store),
// re-reads the file, applies its changes, writes a temporary file in the same folder, flushes it
// to disk and renames it over the store, so two running instances never lose each other's values
// and a crash leaves the old or the new file, never a torn one. A file that cannot be read, is
// too large or is damaged is kept aside as <store>.bad before the new one replaces it.

#include "settings/Registry.h"

#include <cstddef>
#include <optional>
#include <string>

// Larger files are not settings written by this program; they are never read into memory.
constexpr std::size_t MaxStoreSize = 4 * 1024 * 1024;

// $XDG_CONFIG_HOME/KX/Orvani.reg; ~/.config/KX/Orvani.reg when XDG_CONFIG_HOME is unset, empty
// or not an absolute path.
std::string DefaultSettingsPath();

class TFileRegistryBackend : public TRegistryBackend {
public:
    explicit TFileRegistryBackend(std::string path);
    const std::string &Path() const { return path_; }

    bool KeyExists(std::string_view path) override;
    std::optional<TRegValue> ReadValue(std::string_view path, std::string_view name) override;
    bool CanWrite() override;
    bool Commit(std::string_view path, const std::vector<TRegChange> &changes) override;

private:
    const TRegDocument &Document(); // read once, then kept up to date by this process's writes

    std::string path_;
    std::optional<TRegDocument> document_;
};
