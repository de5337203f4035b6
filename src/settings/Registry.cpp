#include "settings/Registry.h"

#include <algorithm>

namespace {

constexpr std::string_view RootName = "HKEY_CURRENT_USER";

// Control characters would break the store's line format; blanks around a key name would not
// survive it.
bool HasControlCharacter(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

bool IsValidKeyName(std::string_view name)
{
    return !HasControlCharacter(name) && name.front() != ' ' && name.back() != ' ';
}

// path joined to base (from the root when it starts with a backslash), empty components dropped.
std::optional<std::string> ResolvePath(std::string_view base, std::string_view path)
{
    std::string result = (!path.empty() && path.front() == '\\') ? std::string() : std::string(base);
    while (!path.empty()) {
        const std::size_t end = std::min(path.find('\\'), path.size());
        const std::string_view component = path.substr(0, end);
        path.remove_prefix(std::min(end + 1, path.size()));
        if (component.empty()) {
            continue;
        }
        if (!IsValidKeyName(component)) {
            return std::nullopt;
        }
        if (!result.empty()) {
            result += '\\';
        }
        result += component;
    }
    return result;
}

std::string Quoted(std::string_view text)
{
    return "'" + std::string(text) + "'";
}

} // namespace

TRegistry::TRegistry(TRegistryBackend &backend) : FBackend(backend) {}

TRegistry::~TRegistry()
{
    try {
        Flush();
    } catch (...) {
        // Nothing can be reported from here; the caller chose not to close the key.
    }
}

void TRegistry::SetRootKey(TRegRoot)
{
    CloseKey();
}

bool TRegistry::OpenKey(std::string_view path, bool canCreate)
{
    const auto target = ResolvePath(FPath, path);
    if (!target) {
        return false;
    }
    // Opening below a new key that holds no values creates that key along the way, so it needs
    // no store of its own (opening Software, then KX\Orvani, then Algemeen is one write).
    const bool implied = FCreatePending && FPending.empty() && IsRegKeyBelow(*target, FPath);
    if (!implied) {
        Flush();
    }
    const bool exists = target->empty() || FBackend.KeyExists(FullPath(*target));
    if (!exists && (!canCreate || !EnsureWritable())) {
        return false;
    }
    FPath = *target;
    FCreatePending = !exists;
    return true;
}

bool TRegistry::CloseKey()
{
    const bool stored = Flush();
    FPath.clear();
    return stored;
}

bool TRegistry::ValueExists(std::string_view name)
{
    return Lookup(name).has_value();
}

TRegDataType TRegistry::GetDataType(std::string_view name)
{
    const auto value = Lookup(name);
    return value ? value->Kind : TRegDataType::rdUnknown;
}

std::int32_t TRegistry::ReadInteger(std::string_view name)
{
    return static_cast<std::int32_t>(ReadKind(name, TRegDataType::rdInteger).Number);
}

bool TRegistry::ReadBool(std::string_view name)
{
    return ReadInteger(name) != 0;
}

std::string TRegistry::ReadString(std::string_view name)
{
    return ReadKind(name, TRegDataType::rdString).Data;
}

void TRegistry::WriteInteger(std::string_view name, std::int32_t value)
{
    Stage(name, TRegValue::Integer(static_cast<std::uint32_t>(value)));
}

void TRegistry::WriteBool(std::string_view name, bool value)
{
    WriteInteger(name, value ? 1 : 0);
}

void TRegistry::WriteString(std::string_view name, std::string_view value)
{
    Stage(name, TRegValue::String(std::string(value)));
}

std::string TRegistry::FullPath(std::string_view path) const
{
    std::string full(RootName);
    if (!path.empty()) {
        full += '\\';
        full += path;
    }
    return full;
}

std::vector<TRegChange>::iterator TRegistry::FindPending(std::string_view name)
{
    return std::find_if(FPending.begin(), FPending.end(),
                        [&](const TRegChange &change) { return SameRegName(change.Name, name); });
}

std::optional<TRegValue> TRegistry::Lookup(std::string_view name)
{
    const auto staged = FindPending(name);
    if (staged != FPending.end()) {
        return staged->Value;
    }
    return FBackend.ReadValue(FullPath(FPath), name);
}

TRegValue TRegistry::ReadKind(std::string_view name, TRegDataType kind)
{
    auto value = Lookup(name);
    if (!value) {
        throw ERegistryException("Failed to get data for " + Quoted(name));
    }
    if (value->Kind != kind) {
        throw ERegistryException("Invalid data type for " + Quoted(name));
    }
    return std::move(*value);
}

void TRegistry::Stage(std::string_view name, TRegValue value)
{
    if (HasControlCharacter(name) || !EnsureWritable()) {
        throw ERegistryException("Failed to set data for " + Quoted(name));
    }
    const auto staged = FindPending(name);
    if (staged != FPending.end()) {
        staged->Value = std::move(value);
    } else {
        FPending.push_back(TRegChange{std::string(name), std::move(value)});
    }
}

bool TRegistry::EnsureWritable()
{
    FWritable = FWritable || FBackend.CanWrite();
    return FWritable;
}

bool TRegistry::Flush()
{
    if (FPending.empty() && !FCreatePending) {
        return true;
    }
    const std::vector<TRegChange> batch = std::move(FPending);
    FPending.clear();
    FCreatePending = false;
    FWritable = false;
    return FBackend.Commit(FullPath(FPath), batch);
}
