#include "common/Numbers.h"

#include "common/DecimalDigits.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace scorewell {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

int HexDigitValue(char c) {
    if (IsDigit(c)) {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// Length of the longest decimal number at the start of text (sign, digits, point, digits,
// exponent); 0 when there are no mantissa digits. A bare "E" without digits is not part of it.
std::size_t ScanDecimal(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) {
                ++j;
            }
            i = j;
        }
    }
    return i;
}

// The decimal number that text holds entirely; nothing when it is out of range.
std::optional<double> ParseDecimal(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        text.remove_prefix(1);
    }
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value)) {
        return std::nullopt;
    }
    if (value == 0) {
        return 0.0;
    }
    return negative ? -value : value;
}

// "&H" hexadecimal or "&O" octal at the start of text, read as a 32-bit two's complement
// value. length receives the characters read; nothing when text does not start with such a
// number or it needs more than 32 bits.
std::optional<double> ParseRadix(std::string_view text, std::size_t& length) {
    length = 0;
    if (text.size() < 3 || text[0] != '&') {
        return std::nullopt;
    }
    const char kind = text[1];
    const int radix = (kind == 'H' || kind == 'h') ? 16 : (kind == 'O' || kind == 'o') ? 8 : 0;
    if (radix == 0) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    std::size_t i = 2;
    for (; i < text.size(); ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0 || digit >= radix) {
            break;
        }
        value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu) {
            return std::nullopt;
        }
    }
    if (i == 2) {
        return std::nullopt;
    }
    length = i;
    return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

} // namespace

double LeadingNumber(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) {
        ++start;
    }
    text.remove_prefix(start);
    if (!text.empty() && text.front() == '&') {
        std::size_t length = 0;
        return ParseRadix(text, length).value_or(0);
    }
    const std::size_t length = ScanDecimal(text);
    if (length == 0) {
        return 0;
    }
    return ParseDecimal(text.substr(0, length)).value_or(0);
}

std::optional<double> StrictNumber(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    if (text.front() == '&') {
        std::size_t length = 0;
        auto value = ParseRadix(text, length);
        return length == text.size() ? value : std::nullopt;
    }
    if (ScanDecimal(text) != text.size()) {
        return std::nullopt;
    }
    return ParseDecimal(text);
}

std::optional<std::int32_t> StrictInteger(std::string_view text) {
    const auto value = StrictNumber(text);
    if (!value) {
        return std::nullopt;
    }
    const std::int64_t rounded = RoundHalfEven(*value);
    if (rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

std::int64_t RoundHalfEven(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    // 2^63 is exact in a double; anything at or beyond it is clamped.
    constexpr double limit = 9223372036854775808.0;
    if (value >= limit) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (value < -limit) {
        return std::numeric_limits<std::int64_t>::min();
    }
    double whole = std::floor(value);
    const double rest = value - whole;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(whole, 2.0) != 0)) {
        whole += 1;
    }
    if (whole >= limit) {
        return std::numeric_limits<std::int64_t>::max();
    }
    return static_cast<std::int64_t>(whole);
}

std::string ColorText(std::int32_t color) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "&H%08X", static_cast<unsigned>(color));
    return buffer;
}

std::optional<std::int32_t> ParseColorText(std::string_view text) {
    return StrictInteger(text);
}

std::string GeneralNumberText(double value, std::string_view decimalSeparator) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-Infinity" : "Infinity";
    }
    if (value == 0) {
        return "0";
    }
    const int precision = detail::SignificantDigitsFor(value);
    const detail::Decimal number = detail::ToDecimal(value, precision);
    const std::string& digits = number.digits;
    const int size = static_cast<int>(digits.size());
    const int exponent = number.pointPos - 1;

    std::string text = value < 0 ? "-" : "";
    if (exponent < -4 || exponent >= precision) {
        text += digits.front();
        if (size > 1) {
            text += decimalSeparator;
            text += digits.substr(1);
        }
        text += exponent < 0 ? "E-" : "E+";
        const int magnitude = std::abs(exponent);
        if (magnitude < 10) {
            text += '0';
        }
        text += std::to_string(magnitude);
    } else if (number.pointPos <= 0) {
        text += '0';
        text += decimalSeparator;
        text.append(static_cast<std::size_t>(-number.pointPos), '0');
        text += digits;
    } else if (number.pointPos >= size) {
        text += digits;
        text.append(static_cast<std::size_t>(number.pointPos - size), '0');
    } else {
        const auto point = static_cast<std::size_t>(number.pointPos);
        text += digits.substr(0, point);
        text += decimalSeparator;
        text += digits.substr(point);
    }
    return text;
}

float ToSingle(double value) {
    constexpr double largest = std::numeric_limits<float>::max();
    if (value > largest || value < -largest) {
        // Converting an out-of-range double to float is undefined; the overflow is infinite.
        return value > 0 ? std::numeric_limits<float>::infinity()
                         : -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(value);
}

} // namespace scorewell
