#pragma once

#include <string>
#include <string_view>

#include "common/Value.h"

namespace scorewell {

// The display-format function: a value turned into text with a pattern of "#" (optional digit),
// "0" (required digit), "." (decimal point), "," (thousands grouping when between digit
// placeholders), literal text (quoted, escaped with "\" or plain), and up to three sections
// separated by ";" for positive, negative and zero values. An empty section falls back to the
// first (a negative value then gets a leading "-"); a section without digit placeholders, such
// as "--", replaces the number. The decimal point is written as decimalSeparator.
//
// A negative value keeps its sign when it rounds to zero ("0.000" gives "-0.000" for -0.0004).
// Also understood: "%" (times 100), commas right before the point (divide by 1000), "0.00E+00"
// scientific patterns and the named formats ("Fixed", "Standard", "Percent", "Yes/No", ...).
//
// Null gives the empty text; a text that is not a number is returned as it is; a numeric text
// is formatted as the number. The empty pattern gives the value's ordinary text (a text as it
// is).
std::string FormatValue(const Value& value, std::string_view pattern,
                        std::string_view decimalSeparator);

std::string FormatNumber(double value, std::string_view pattern, std::string_view decimalSeparator);

} // namespace scorewell
