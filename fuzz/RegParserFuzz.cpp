// The settings file is outside text: whatever it holds, reading must end quietly, and what the
// store writes back must read again clean and unchanged.
#include "settings/RegDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const TRegParseResult parsed = ParseRegText(std::string_view(reinterpret_cast<const char *>(data), size));
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
    return 0;
}
