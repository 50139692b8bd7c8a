#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace scorewell {

// The lenient reading: the number the text starts with, after leading blanks ("." as decimal
// point, an optional sign and exponent), 0 when it starts with none or it is out of range.
// "150.000mph" gives 150, "abc" gives 0, " -2L" gives -2, "1:02.5" gives 1; "&H10" (hexadecimal)
// and "&O17" (octal) are read as 32-bit two's complement values. This is also the database
// function Val.
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

// The ordinary text of a number in the general form: up to 15 significant digits (7 for
// fractional values that are exactly single precision, so a widened 187.02f gives "187.02"), no
// trailing zeros, the given decimal separator. Exponents below -4 or from the digit count up are
// written "1E-05" and "1E+20". 2.5 gives "2.5", 200 gives "200", 0.1 gives "0.1", -0 gives "0".
std::string GeneralNumberText(double value, std::string_view decimalSeparator = ".");

// Single precision arithmetic, as the stored Single columns use it; out of range is infinite.
float ToSingle(double value);

} // namespace scorewell
