#include "date/SerialText.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

TEST(ParseDateSerial, ReadsADecimalNumberWithOneSeparator)
{
    struct Case {
        std::string text;
        const char *separator; // the user's
        std::optional<double> expected;
    };
    const Case cases[] = {
        {"37773", ".", 37773},
        {"37773.75", ".", 37773.75},
        {"37773,5", ".", 37773.5}, // a comma always counts
        {"37773,5", ",", 37773.5},
        {"37773.5", ",", 37773.5}, // and so does a point
        {"37773\xD9\xAB"
         "5",
         "\xD9\xAB", 37773.5},
        {" 37773 ", ".", 37773},
        {"\t-0.5", ".", -0.5},
        {"+12", ".", 12},
        {".5", ".", 0.5},
        {"5.", ".", 5},
        {"-693594", ".", -693594},
        {"1.000,5", ".", std::nullopt}, // two separators
        {"1e3", ".", std::nullopt},
        {"4.5e4", ".", std::nullopt},
        {"1e999", ".", std::nullopt},
        {std::string(400, '9'), ".", std::nullopt}, // beyond a double
        {"nan", ".", std::nullopt},
        {"inf", ".", std::nullopt},
        {"abc", ".", std::nullopt},
        {"12abc", ".", std::nullopt},
        {"1 2", ".", std::nullopt},
        {"--1", ".", std::nullopt},
        {"-", ".", std::nullopt},
        {".", ".", std::nullopt},
        {"", ".", std::nullopt},
        {"  ", ".", std::nullopt},
        {"2005-01-01", ".", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ParseDateSerial(c.text, c.separator), c.expected) << c.text;
}
