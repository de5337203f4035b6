#pragma once
// The per-user store on Linux and other non-Windows systems: one text file in the registry
// editor's export format. Every write takes an exclusive lock (a lock file beside the real file),
// re-reads the file, applies its changes, writes a temporary file in the same folder, flushes it
// to disk and renames it over the store, so two running instances never lose each other's values
// and a crash leaves the old or the new file, never a torn one.
//
// A file that is damaged, or larger than MaxStoreSize (of which what lies within is read), is kept
// under a name of its own (<store>.damaged-<time>,
// never an earlier copy's) by a hard link or a copy, while the store stays in place until the
// repaired file is renamed over it. A file that cannot be read (permissions) is left alone and
// nothing is written; so is a read-only file. A symbolic link is written through: the new file
// is made in its target's folder and renamed over the target. What happens is said once, in one
// line, through the report function (standard error unless the caller chooses otherwise).

#include "settings/Registry.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <set>
#include <string>

// What is read of a file at most: far more than any settings, little enough to hold in memory.
// What lies beyond is kept in the damaged copy of a store.
constexpr std::size_t MaxStoreSize = 64 * 1024 * 1024;

// $XDG_CONFIG_HOME/KX/Orvani.reg; ~/.config/KX/Orvani.reg when XDG_CONFIG_HOME is unset, empty
// or not an absolute path.
std::string DefaultSettingsPath();

// Writes the line and a line feed to standard error.
void ReportToStandardError(const std::string &line);

// The whole of the regular file at path (a store), at most MaxStoreSize bytes; nothing for a
// missing file. Empty on success, otherwise one line saying why not.
std::string ReadSettingsFile(const std::string &path, std::string &text);

// The whole of a file given on the command line: "-" is standard input, and a FIFO or a terminal
// is read until its end. At most MaxStoreSize bytes. Empty on success, otherwise one line saying
// why not.
std::string ReadInputFile(const std::string &path, std::string &text);

// Writes text to a file given on the command line: "-" is standard output; a FIFO, a device or a
// terminal is written into; a plain file (through symbolic links) is replaced in one step by a
// synced temporary file renamed over it, keeping its mode. Empty on success, otherwise one line
// saying why not; a plain file is then as it was.
std::string WriteOutputFile(const std::string &path, const std::string &text);

class TFileRegistryBackend : public TRegistryBackend {
public:
    using TReport = std::function<void(const std::string &line)>;
    explicit TFileRegistryBackend(std::string path, TReport report = ReportToStandardError);
    const std::string &Path() const { return FPath; }

    bool KeyExists(std::string_view path) override;
    std::optional<TRegValue> ReadValue(std::string_view path, std::string_view name) override;
    bool CanWrite() override;
    bool Commit(std::string_view path, const std::vector<TRegChange> &changes) override;
    void RepairDamage() override;
    std::string KeptDamagedCopy() const override { return FKeptCopy; }

    // Imports values (TRegDocument::Import) in one write under the lock. Empty on success,
    // otherwise one line saying why nothing was stored.
    std::string Merge(const TRegDocument &values);

private:
    enum class TLoad { Missing, Read, Damaged, Unreadable };
    const TRegDocument &Document(); // read once, then kept up to date by this process's writes
    std::string WriteProblem();     // why the store cannot take writes; empty when it can
    std::string Store(const std::function<void(TRegDocument &)> &change);
    void ReportOnce(const std::string &line);

    std::string FPath;
    TReport FReport;
    std::optional<TRegDocument> FDocument;
    TLoad FLoad = TLoad::Missing;
    std::string FKeptCopy;
    std::string FUnreadable; // what was said about a store that could not be read
    std::set<std::string> FReported;
};
