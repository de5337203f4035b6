#pragma once
// A registry backend held in memory, for tests where a file is not the point. Writes can be made
// to fail, as on a read-only store.

#include "settings/Registry.h"

class TMemoryRegistryBackend : public TRegistryBackend {
public:
    bool KeyExists(std::string_view path) override;
    std::optional<TRegValue> ReadValue(std::string_view path, std::string_view name) override;
    bool CanWrite() override;
    bool Commit(std::string_view path, const std::vector<TRegChange> &changes) override;

    void SetFailWrites(bool fail) { FFailWrites = fail; }
    const TRegDocument &Document() const { return FDocument; }

private:
    TRegDocument FDocument;
    bool FFailWrites = false;
};
