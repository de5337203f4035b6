#include "settings/MemoryRegistryBackend.h"

bool TMemoryRegistryBackend::KeyExists(std::string_view path)
{
    return document_.KeyExists(path);
}

std::optional<TRegValue> TMemoryRegistryBackend::ReadValue(std::string_view path, std::string_view name)
{
    const TRegValue *value = document_.Find(path, name);
    return value ? std::optional(*value) : std::nullopt;
}

bool TMemoryRegistryBackend::CanWrite()
{
    return !failWrites_;
}

bool TMemoryRegistryBackend::Commit(std::string_view path, const std::vector<TRegChange> &changes)
{
    if (failWrites_) {
        return false;
    }
    document_.Apply(path, changes);
    return true;
}
