// The settings file is outside text: whatever it holds, in whatever encoding, reading must end
// quietly, and what the store writes back must read again clean, with every value that was read
// (read, write, read again: the same values), and write again unchanged. The bytes are also
// read as UTF-16 of either byte order (the registry editor's own form, where odd lengths and lone
// surrogates are the damage to survive), and the export for the registry editor must read back
// clean and export the same again.
#include "settings/RegDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

constexpr std::string_view Root = "HKEY_CURRENT_USER\\Software\\KX\\Orvani";

// The value of that name in key as stored, deletions included.
const TRegValue *Stored(const TRegKey *key, const std::string &name)
{
    const auto found = key ? key->Index.find(FoldRegName(name))
                           : std::unordered_map<std::string, std::size_t>::const_iterator();
    return key && found != key->Index.end() ? &key->Values[found->second].Value : nullptr;
}

// Every value of document that could be read is in reread, the same, and nothing else is.
void ExpectSameValues(const TRegDocument &document, const TRegDocument &reread)
{
    for (const TRegKey &key : document.Keys()) {
        const TRegKey *again = reread.FindKey(key.Path);
        std::size_t readable = 0;
        for (const TRegChange &entry : key.Values) {
            if (entry.Value.Kind == TRegDataType::rdUnknown) {
                continue;
            }
            ++readable;
            const TRegValue *value = Stored(again, entry.Name);
            if (!value || !(*value == entry.Value)) {
                std::abort();
            }
        }
        if (!again || again->Values.size() != readable) {
            std::abort();
        }
    }
    if (reread.Keys().size() != document.Keys().size()) {
        std::abort();
    }
}

void Check(std::string_view input)
{
    const TRegParseResult parsed = ParseRegText(input);
    for (const TRegKey &key : parsed.Document.Keys()) {
        for (const TRegChange &entry : key.Values) {
            if (entry.Value.Kind == TRegDataType::rdDeleted) {
                continue; // a deletion is no value to find
            }
            const TRegValue *found = parsed.Document.Find(key.Path, entry.Name);
            if (!found || !(*found == entry.Value) || !parsed.Document.KeyExists(key.Path)) {
                std::abort();
            }
        }
    }
    const std::string written = FormatRegText(parsed.Document);
    const TRegParseResult reread = ParseRegText(written);
    if (reread.Damaged || FormatRegText(reread.Document) != written) {
        std::abort();
    }
    ExpectSameValues(parsed.Document, reread.Document);
    // Text that is no UTF-8 becomes U+FFFD on the way to UTF-16; after that the export is stable.
    const std::string exportText = FormatRegExport(parsed.Document, Root);
    const TRegParseResult exported = ParseRegText(exportText);
    if (exported.Damaged || FormatRegExport(exported.Document, Root) != exportText) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    Check(input);
    Check("\xFF\xFE" + std::string(input));
    Check("\xFE\xFF" + std::string(input));
    return 0;
}
