#include "app/DateActions.h"

#include "date/DateFormat.h"

#include <cmath>

namespace {

std::string WithoutSeparator(std::string text, const std::string &separator)
{
    if (separator.empty())
        return text;
    for (std::size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, at))
        text.erase(at, separator.size());
    return text;
}

} // namespace

std::array<std::string, CopyDateCount> CopyDateCaptions(TDateTime date, const std::string &userPattern,
                                                        const TFormatSettings &settings)
{
    const std::string shortDate = FormatDateStandard(settings.ShortDateFormat, date, settings);
    return {
        shortDate,
        WithoutSeparator(shortDate, settings.DateSeparator),
        FormatDateStandard(settings.LongDateFormat, date, settings),
        std::to_string(static_cast<long long>(std::trunc(date))),
        ExpandDateTags(userPattern, date, settings),
    };
}
