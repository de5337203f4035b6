#pragma once
// A small registry class in the shape the program uses: a current-user root, one open key at a
// time, tests for a value's existence and kind, 32-bit integers and texts. It works over a
// backend: the per-user file (FileRegistryBackend.h), memory for tests, or on Windows the real
// registry. Writes are kept per open key and handed to the backend in one batch when the key is
// closed, another key is opened or the object is destroyed. Pure C++, no Qt.

#include "settings/RegDocument.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class TRegistryBackend {
public:
    virtual ~TRegistryBackend() = default;
    // Key paths are full paths starting with the root's name (HKEY_CURRENT_USER\...).
    virtual bool KeyExists(std::string_view path) = 0;
    virtual std::optional<TRegValue> ReadValue(std::string_view path, std::string_view name) = 0;
    // Whether writes can be stored at all; asked before the first write of a batch.
    virtual bool CanWrite() = 0;
    // Creates the key and stores the values in order, all or nothing. False on failure.
    virtual bool Commit(std::string_view path, const std::vector<TRegChange> &changes) = 0;
    // A store that was found damaged is kept under a name of its own and replaced by what could
    // be read from it. Stores that cannot be damaged have nothing to do.
    virtual void RepairDamage() {}
    // Where the damaged store went during this run; empty when nothing was set aside.
    virtual std::string KeptDamagedCopy() const { return {}; }
};

class ERegistryException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TRegRoot { CurrentUser };

class TRegistry {
public:
    explicit TRegistry(TRegistryBackend &backend);
    ~TRegistry(); // stores pending writes; a failure goes unreported
    TRegistry(const TRegistry &) = delete;
    TRegistry &operator=(const TRegistry &) = delete;

    // Closes the open key and starts again at the root.
    void SetRootKey(TRegRoot root);
    // The open key below the root, components separated by backslashes; empty at the root.
    const std::string &CurrentPath() const { return FPath; }

    // A path starting with a backslash is taken from the root, any other from the open key. On
    // success the previous key is closed; on failure it stays open.
    bool OpenKey(std::string_view path, bool canCreate);
    // Stores the pending writes and returns to the root. False when they could not be stored.
    bool CloseKey();

    bool ValueExists(std::string_view name);
    TRegDataType GetDataType(std::string_view name); // rdUnknown for a missing value

    // These throw ERegistryException for a missing value or one of another kind.
    std::int32_t ReadInteger(std::string_view name);
    bool ReadBool(std::string_view name);
    std::string ReadString(std::string_view name); // REG_SZ only

    // These throw ERegistryException when the store cannot take writes or the name holds a
    // control character.
    void WriteInteger(std::string_view name, std::int32_t value);
    void WriteBool(std::string_view name, bool value); // REG_DWORD 0 or 1
    void WriteString(std::string_view name, std::string_view value);

private:
    std::string FullPath(std::string_view path) const;
    std::vector<TRegChange>::iterator FindPending(std::string_view name);
    std::optional<TRegValue> Lookup(std::string_view name);
    TRegValue ReadKind(std::string_view name, TRegDataType kind);
    void Stage(std::string_view name, TRegValue value);
    bool EnsureWritable();
    bool Flush();

    TRegistryBackend &FBackend;
    std::string FPath;
    std::vector<TRegChange> FPending;
    bool FCreatePending = false; // the open key is new and not yet stored
    bool FWritable = false;      // CanWrite confirmed for the current batch
};
