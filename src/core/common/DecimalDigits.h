#pragma once

#include <string>

// Decimal digits of a double, shared by the general number text and the display-format function.
namespace scorewell::detail {

// A non-negative number as 0.digits × 10^pointPos: pointPos is the count of digits before the
// decimal point (negative for leading fractional zeros). Zero has no digits.
struct Decimal {
    std::string digits;
    int pointPos = 0;
};

// 7 for fractional values that a float holds exactly (widened single-precision lengths and speeds,
// which would otherwise show their binary noise), else 15.
int SignificantDigitsFor(double value);

// The magnitude of value correctly rounded to the given number of significant digits, with
// trailing zeros removed.
Decimal ToDecimal(double value, int significantDigits);

// Keeps the first keep digits, rounding half away from zero on the decimal digits; keep may be
// zero or negative (the number then rounds to 0 or to one unit of the next higher position).
void RoundToDigits(Decimal& number, int keep);

} // namespace scorewell::detail
