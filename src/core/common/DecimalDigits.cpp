#include "common/DecimalDigits.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace scorewell::detail {

int SignificantDigitsFor(double value) {
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) {
        return 15;
    }
    const bool exactSingle = static_cast<double>(static_cast<float>(value)) == value;
    // Whole numbers are exact at either precision; 7 digits would only turn 12345678 into 1E+07.
    return exactSingle && value != std::trunc(value) ? 7 : 15;
}

Decimal ToDecimal(double value, int significantDigits) {
    Decimal number;
    value = std::fabs(value);
    if (value == 0 || !std::isfinite(value)) {
        return number;
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, significantDigits - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const auto e = text.find('e');
    for (char c : text.substr(0, e)) {
        if (c != '.') {
            number.digits += c;
        }
    }
    int exponent = 0;
    const auto exponentText = text.substr(e + 1);
    const char* first = exponentText.data() + (exponentText.front() == '+' ? 1 : 0);
    std::from_chars(first, exponentText.data() + exponentText.size(), exponent);
    number.pointPos = exponent + 1;
    while (!number.digits.empty() && number.digits.back() == '0') {
        number.digits.pop_back();
    }
    return number;
}

void RoundToDigits(Decimal& number, int keep) {
    const int size = static_cast<int>(number.digits.size());
    if (keep >= size) {
        return;
    }
    const bool up = keep >= 0 && number.digits[static_cast<std::size_t>(keep)] >= '5';
    if (keep <= 0) {
        number.digits.assign(up ? 1 : 0, '1');
        number.pointPos = up ? number.pointPos + 1 : 0;
        return;
    }
    number.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        int i = keep - 1;
        for (; i >= 0 && number.digits[static_cast<std::size_t>(i)] == '9'; --i) {
            number.digits[static_cast<std::size_t>(i)] = '0';
        }
        if (i >= 0) {
            ++number.digits[static_cast<std::size_t>(i)];
        } else {
            number.digits.insert(number.digits.begin(), '1');
            ++number.pointPos;
        }
    }
    while (!number.digits.empty() && number.digits.back() == '0') {
        number.digits.pop_back();
    }
    if (number.digits.empty()) {
        number.pointPos = 0;
    }
}

} // namespace scorewell::detail
