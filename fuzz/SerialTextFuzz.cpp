// Any text as a typed date serial: nothing may crash or read out of bounds, and what is read is
// a finite number.
#include "date/SerialText.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    if (const std::optional<double> value = ParseDateSerial(text, "\xD9\xAB");
        value && !std::isfinite(*value))
        std::abort();
    return 0;
}
