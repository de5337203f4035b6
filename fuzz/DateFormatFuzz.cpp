// Random patterns and serials through both date formatters: nothing may throw, crash or read
// out of bounds, and the output never exceeds MaxFormattedLength characters.
#include "date/DateFormat.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

std::size_t Characters(const std::string &s)
{
    std::size_t n = 0;
    for (const char c : s) {
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The first eight bytes pick the serial (any double, NaN and infinities included) when present.
    double date = 37792.5;
    if (size >= sizeof date) {
        std::memcpy(&date, data, sizeof date);
        data += sizeof date;
        size -= sizeof date;
    }
    const std::string_view pattern(reinterpret_cast<const char *>(data), size);
    static const TFormatSettings settings = DefaultFormatSettings();
    for (const std::string &out :
         {FormatDateStandard(pattern, date, settings), ExpandDateTags(pattern, date, settings)}) {
        if (Characters(out) > MaxFormattedLength) {
            std::abort();
        }
    }
    return 0;
}
