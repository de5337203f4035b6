#include "settings/MemoryRegistryBackend.h"

bool TMemoryRegistryBackend::KeyExists(std::string_view path)
{
    return FDocument.KeyExists(path);
}

std::optional<TRegValue> TMemoryRegistryBackend::ReadValue(std::string_view path, std::string_view name)
{
    const TRegValue *value = FDocument.Find(path, name);
    return value ? std::optional(*value) : std::nullopt;
}

bool TMemoryRegistryBackend::CanWrite()
{
    return !FFailWrites;
}

bool TMemoryRegistryBackend::Commit(std::string_view path, const std::vector<TRegChange> &changes)
{
    if (FFailWrites) {
        return false;
    }
    FDocument.Apply(path, changes);
    return true;
}
