#include "common/Format.h"

#include "common/DecimalDigits.h"
#include "common/Numbers.h"
#include "common/Text.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace scorewell {

namespace {

enum class Kind { Required, Optional, Point, Silent, Percent, Exponent, Literal };

struct Token {
    Kind kind;
    std::string text; // literal text; for an exponent the letter and sign as written
};

bool IsDigit(const Token& t) {
    return t.kind == Kind::Required || t.kind == Kind::Optional;
}

// Sections split at ";" outside quoted text and escapes.
std::vector<std::string_view> SplitSections(std::string_view pattern) {
    std::vector<std::string_view> sections;
    std::size_t start = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (quoted) {
            quoted = c != '"';
        } else if (c == '"') {
            quoted = true;
        } else if (c == '\\') {
            ++i;
        } else if (c == ';') {
            sections.push_back(pattern.substr(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(pattern.substr(std::min(start, pattern.size())));
    return sections;
}

// One section, taken apart: tokens plus where the point and the exponent are.
struct Layout {
    std::vector<Token> tokens;
    std::size_t point = std::string::npos;
    std::size_t exponent = std::string::npos;
    std::vector<Kind> integer;  // kinds of the integer placeholders, left to right
    std::vector<Kind> fraction; // kinds of the fraction placeholders
    int exponentMinDigits = 0;
    bool grouping = false;
    int thousandsScale = 0; // commas that divide by 1000
    int percent = 0;
};

Layout Analyse(std::string_view section) {
    Layout layout;
    auto& tokens = layout.tokens;
    const auto literal = [&tokens](std::string_view text) {
        if (!tokens.empty() && tokens.back().kind == Kind::Literal) {
            tokens.back().text += text;
        } else {
            tokens.push_back({Kind::Literal, std::string(text)});
        }
    };
    bool seenDigit = false;
    for (std::size_t i = 0; i < section.size(); ++i) {
        const char c = section[i];
        const bool inExponent = layout.exponent != std::string::npos;
        if (c == '"') {
            auto end = section.find('"', i + 1);
            end = end == std::string_view::npos ? section.size() : end;
            literal(section.substr(i + 1, end - i - 1));
            i = end;
        } else if (c == '\\') {
            literal(section.substr(i + 1, 1));
            ++i;
        } else if (c == '0' || c == '#') {
            tokens.push_back({c == '0' ? Kind::Required : Kind::Optional, {}});
            seenDigit = true;
        } else if (c == '.' && layout.point == std::string::npos && !inExponent) {
            layout.point = tokens.size();
            tokens.push_back({Kind::Point, {}});
        } else if (c == ',' && !inExponent) {
            tokens.push_back({Kind::Silent, ","}); // decided below
        } else if (c == '%') {
            ++layout.percent;
            tokens.push_back({Kind::Percent, "%"});
        } else if ((c == 'E' || c == 'e') && seenDigit && !inExponent && i + 1 < section.size() &&
                   (section[i + 1] == '+' || section[i + 1] == '-') &&
                   section.find_first_of("0#", i + 2) != std::string_view::npos) {
            layout.exponent = tokens.size();
            tokens.push_back({Kind::Exponent, std::string(section.substr(i, 2))});
            ++i;
        } else {
            literal(section.substr(i, 1));
        }
    }

    const std::size_t mantissaEnd = std::min(layout.exponent, tokens.size());
    const std::size_t integerEnd = std::min(layout.point, mantissaEnd);
    bool digitBefore = false;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        Token& t = tokens[i];
        if (IsDigit(t)) {
            if (i < integerEnd) {
                layout.integer.push_back(t.kind);
                digitBefore = true;
            } else if (i < mantissaEnd) {
                layout.fraction.push_back(t.kind);
            } else {
                layout.exponentMinDigits += t.kind == Kind::Required ? 1 : 0;
            }
        } else if (t.kind == Kind::Silent) {
            // A comma with integer digits after it groups thousands; one that only follows them
            // scales by a thousand; any other comma is plain text.
            bool digitAfter = false;
            for (std::size_t j = i + 1; j < integerEnd; ++j) {
                digitAfter = digitAfter || IsDigit(tokens[j]);
            }
            if (i < integerEnd && digitAfter) {
                layout.grouping = true;
            } else if (i < integerEnd && digitBefore) {
                ++layout.thousandsScale;
            } else {
                t.kind = Kind::Literal;
            }
        }
    }
    return layout;
}

std::string IntegerDigits(const detail::Decimal& number) {
    if (number.pointPos <= 0) {
        return {};
    }
    const auto point = static_cast<std::size_t>(number.pointPos);
    std::string digits = number.digits.substr(0, point);
    digits.append(point - digits.size(), '0');
    return digits;
}

std::string FractionDigits(const detail::Decimal& number, std::size_t count) {
    std::string digits;
    for (std::size_t i = 0; i < count; ++i) {
        const long index = number.pointPos + static_cast<long>(i);
        const bool inside = index >= 0 && index < static_cast<long>(number.digits.size());
        digits += inside ? number.digits[static_cast<std::size_t>(index)] : '0';
    }
    return digits;
}

// Writes the section's tokens with the digits put in place.
std::string Render(const Layout& layout, const std::string& integerDigits,
                   const std::string& fractionDigits, int exponent,
                   std::string_view decimalSeparator) {
    // Required integer digits count from the leftmost "0" placeholder to the point.
    std::size_t required = 0;
    for (std::size_t i = 0; i < layout.integer.size(); ++i) {
        if (layout.integer[i] == Kind::Required) {
            required = layout.integer.size() - i;
            break;
        }
    }
    std::string padded(required > integerDigits.size() ? required - integerDigits.size() : 0, '0');
    padded += integerDigits;
    const std::string_view thousands = decimalSeparator == "," ? "." : ",";

    // Trailing optional fraction placeholders show nothing for trailing zeros.
    std::size_t fractionShown = layout.fraction.size();
    while (fractionShown > 0 && layout.fraction[fractionShown - 1] == Kind::Optional &&
           fractionDigits[fractionShown - 1] == '0') {
        --fractionShown;
    }

    std::string exponentDigits = std::to_string(std::abs(exponent));
    if (static_cast<int>(exponentDigits.size()) < layout.exponentMinDigits) {
        exponentDigits.insert(
            0, static_cast<std::size_t>(layout.exponentMinDigits) - exponentDigits.size(), '0');
    }

    std::string out;
    const auto writeDigits = [&](std::size_t from, std::size_t to) {
        for (std::size_t j = from; j < to; ++j) {
            out += padded[j];
            const std::size_t left = padded.size() - 1 - j;
            if (layout.grouping && left > 0 && left % 3 == 0) {
                out += thousands;
            }
        }
    };
    const std::size_t integerCount = layout.integer.size();
    std::size_t integerIndex = 0;
    std::size_t fractionIndex = 0;
    bool exponentWritten = false;
    for (std::size_t i = 0; i < layout.tokens.size(); ++i) {
        const Token& t = layout.tokens[i];
        const bool afterExponent = i > layout.exponent && layout.exponent != std::string::npos;
        if (IsDigit(t) && afterExponent) {
            if (!exponentWritten) {
                out += exponentDigits;
                exponentWritten = true;
            }
        } else if (IsDigit(t) && i < layout.point && integerIndex < integerCount) {
            // The placeholders take digits from the right; the leftmost takes all that remain.
            const std::size_t k = integerIndex++;
            const std::size_t fromRight = integerCount - k;
            if (padded.size() >= fromRight) {
                const std::size_t j = padded.size() - fromRight;
                writeDigits(k == 0 ? 0 : j, j + 1);
            }
        } else if (IsDigit(t)) {
            if (fractionIndex < fractionShown) {
                out += fractionDigits[fractionIndex];
            }
            ++fractionIndex;
        } else if (t.kind == Kind::Point) {
            if (integerCount == 0) {
                writeDigits(0, padded.size());
            }
            out += decimalSeparator;
        } else if (t.kind == Kind::Exponent) {
            out += t.text[0];
            if (exponent < 0) {
                out += '-';
            } else if (t.text[1] == '+') {
                out += '+';
            }
        } else if (t.kind != Kind::Silent) {
            out += t.text;
        }
    }
    return out;
}

// The magnitude written with one section; digits tells whether the section has any placeholder.
std::string FormatSection(double magnitude, int precision, std::string_view section,
                          std::string_view decimalSeparator, bool& digits) {
    digits = true;
    if (section.empty()) {
        return GeneralNumberText(magnitude, decimalSeparator);
    }
    const Layout layout = Analyse(section);
    if (layout.integer.empty() && layout.fraction.empty()) {
        digits = false;
        std::string text;
        for (const Token& t : layout.tokens) {
            text += t.kind == Kind::Point ? "." : t.text;
        }
        return text;
    }
    double x =
        magnitude * std::pow(100.0, layout.percent) / std::pow(1000.0, layout.thousandsScale);
    detail::Decimal number = detail::ToDecimal(x, precision);
    int exponent = 0;
    if (layout.exponent != std::string::npos) {
        const auto integerCount = static_cast<int>(layout.integer.size());
        if (!number.digits.empty()) {
            detail::RoundToDigits(number, integerCount + static_cast<int>(layout.fraction.size()));
            exponent = number.pointPos - integerCount;
            number.pointPos = integerCount;
        }
    } else {
        detail::RoundToDigits(number, number.pointPos + static_cast<int>(layout.fraction.size()));
    }
    return Render(layout, IntegerDigits(number), FractionDigits(number, layout.fraction.size()),
                  exponent, decimalSeparator);
}

// The named formats of the classic function, as patterns.
std::optional<std::string_view> NamedPattern(std::string_view name) {
    static constexpr std::pair<std::string_view, std::string_view> kNamed[] = {
        {"Currency", "$#,##0.00;($#,##0.00)"},
        {"Fixed", "0.00"},
        {"Standard", "#,##0.00"},
        {"Percent", "0.00%"},
        {"Scientific", "0.00E+00"},
        {"Yes/No", "\"Yes\";\"Yes\";\"No\""},
        {"True/False", "\"True\";\"True\";\"False\""},
        {"On/Off", "\"On\";\"On\";\"Off\""},
    };
    for (const auto& [named, pattern] : kNamed) {
        if (EqualsNoCase(name, named)) {
            return pattern;
        }
    }
    return std::nullopt;
}

} // namespace

std::string FormatNumber(double value, std::string_view pattern,
                         std::string_view decimalSeparator) {
    if (pattern.empty() || !std::isfinite(value) || EqualsNoCase(pattern, "General Number")) {
        return GeneralNumberText(value, decimalSeparator);
    }
    if (const auto named = NamedPattern(pattern)) {
        pattern = *named;
    }
    const auto sections = SplitSections(pattern);
    const int precision = detail::SignificantDigitsFor(value);
    const double magnitude = std::fabs(value);
    bool digits = true;
    if (value < 0) {
        if (sections.size() >= 2 && !sections[1].empty()) {
            return FormatSection(magnitude, precision, sections[1], decimalSeparator, digits);
        }
        // The sign is kept even when the magnitude rounds to zero, as the classic function did.
        std::string text =
            FormatSection(magnitude, precision, sections[0], decimalSeparator, digits);
        return digits ? "-" + text : text;
    }
    if (value == 0 && sections.size() >= 3 && !sections[2].empty()) {
        return FormatSection(0, precision, sections[2], decimalSeparator, digits);
    }
    return FormatSection(magnitude, precision, sections[0], decimalSeparator, digits);
}

std::string FormatValue(const Value& value, std::string_view pattern,
                        std::string_view decimalSeparator) {
    switch (value.GetType()) {
    case Value::Type::Null:
        return {};
    case Value::Type::Integer:
        if (pattern.empty()) {
            return std::to_string(value.AsInteger());
        }
        return FormatNumber(value.AsDouble(), pattern, decimalSeparator);
    case Value::Type::Real:
        return FormatNumber(value.AsDouble(), pattern, decimalSeparator);
    case Value::Type::Text:
        break;
    }
    const std::string& text = value.Text();
    const auto number = pattern.empty() ? std::nullopt : StrictNumber(text);
    return number ? FormatNumber(*number, pattern, decimalSeparator) : text;
}

} // namespace scorewell
