// The settings file is outside text: whatever it holds, in whatever encoding, reading must end
// quietly, and what the store writes back must read again clean and unchanged. The bytes are also
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

void Check(std::string_view input)
{
    const TRegParseResult parsed = ParseRegText(input);
    for (const TRegKey &key : parsed.Document.Keys()) {
        for (const TRegChange &entry : key.Values) {
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
