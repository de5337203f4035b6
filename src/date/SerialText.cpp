#include "date/SerialText.h"

#include <charconv>
#include <string>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Length of the decimal separator at the front of text, 0 where there is none.
std::size_t SeparatorLength(std::string_view text, std::string_view decimalSeparator)
{
    if (!decimalSeparator.empty() && text.starts_with(decimalSeparator))
        return decimalSeparator.size();
    return text.front() == '.' || text.front() == ',' ? 1 : 0;
}

} // namespace

std::optional<double> ParseDateSerial(std::string_view text, std::string_view decimalSeparator)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    std::string plain; // the same number with '.' as separator and no '+', for from_chars
    if (text.front() == '+' || text.front() == '-') {
        if (text.front() == '-')
            plain += '-';
        text.remove_prefix(1);
    }
    bool digits = false, separator = false;
    while (!text.empty()) {
        if (IsDigit(text.front())) {
            plain += text.front();
            text.remove_prefix(1);
            digits = true;
            continue;
        }
        const std::size_t length = SeparatorLength(text, decimalSeparator);
        if (separator || length == 0)
            return std::nullopt;
        plain += '.';
        text.remove_prefix(length);
        separator = true;
    }
    double value = 0;
    const char *end = plain.data() + plain.size();
    const auto result = std::from_chars(plain.data(), end, value);
    if (!digits || result.ec != std::errc() || result.ptr != end)
        return std::nullopt;
    return value;
}
