#pragma once
// Rounding to whole numbers for values from 0 to 2^52, exact and inline. The C library's
// llround and nearbyint live in libm, where each function called maps another part of the
// library into the program.

#include <cstdint>

namespace rounding {

// Ties away from zero, as llround. x - whole is exact: whole is x without its fraction.
constexpr std::int64_t HalfAway(double x)
{
    const auto whole = static_cast<std::int64_t>(x);
    return whole + (x - static_cast<double>(whole) >= 0.5);
}

// Ties to even, as nearbyint in the default rounding mode.
constexpr std::int64_t HalfEven(double x)
{
    const auto whole = static_cast<std::int64_t>(x);
    const double rest = x - static_cast<double>(whole);
    return whole + (rest > 0.5 || (rest == 0.5 && (whole & 1) != 0));
}

} // namespace rounding
