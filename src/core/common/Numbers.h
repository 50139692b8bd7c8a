#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace scorewell {

// The lenient reading: the number the text starts with, after leading blanks ("." as decimal
// point, an optional sign and exponent), 0 when it starts with none. "150.000mph" gives 150,
// "abc" gives 0, " -2L" gives -2. This is also the database function Val.
double LeadingNumber(std::string_view text);

// The strict reading: the whole text, trimmed, must be one number (decimal, or "&H" followed by
// hexadecimal digits, read as a 32-bit two's complement value). Nothing otherwise.
std::optional<double> StrictNumber(std::string_view text);

// A strict reading rounded to a 32-bit integer (halves to the even neighbour); nothing when the
// text is not a number or the value does not fit.
std::optional<std::int32_t> StrictInteger(std::string_view text);

// Rounds to the nearest whole number, halves to the even neighbour (467.5 gives 468, 2.5 gives 2).
std::int64_t RoundHalfEven(double value);

// Colour texts of the settings: "&H" + eight upper-case hexadecimal digits of the 32-bit value.
std::string ColorText(std::int32_t color);
// Reads a colour text back ("&H0000FF" and "&H8000000E" alike); nothing when it is no number.
std::optional<std::int32_t> ParseColorText(std::string_view text);

// The ordinary text of a number in the general form: up to 15 significant digits (7 for values
// that are exactly single precision), no trailing zeros, the given decimal separator.
// 2.5 gives "2.5", 200 gives "200", 0.1 gives "0.1", 1e20 gives "1E+20".
std::string GeneralNumberText(double value, std::string_view decimalSeparator = ".");

// Single precision arithmetic, as the stored Single columns use it.
float ToSingle(double value);

} // namespace scorewell
