#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace scorewell {

// One database value: Null, a whole number, a real number or a text.
// Null and the empty text are different values, as the league file tells them apart.
class Value {
public:
    enum class Type { Null, Integer, Real, Text };

    Value() = default;
    Value(std::nullptr_t) {}
    Value(int v) : data_(static_cast<std::int64_t>(v)) {}
    Value(long v) : data_(static_cast<std::int64_t>(v)) {}
    Value(long long v) : data_(static_cast<std::int64_t>(v)) {}
    Value(bool v) : data_(static_cast<std::int64_t>(v ? 1 : 0)) {}
    Value(double v) : data_(v) {}
    Value(float v) : data_(SingleToDouble(v)) {}
    Value(std::string v) : data_(std::move(v)) {}
    Value(std::string_view v) : data_(std::string(v)) {}
    Value(const char* v) : data_(std::string(v)) {}

    Type GetType() const { return static_cast<Type>(data_.index()); }
    bool IsNull() const { return GetType() == Type::Null; }
    bool IsNumber() const { return GetType() == Type::Integer || GetType() == Type::Real; }
    bool IsText() const { return GetType() == Type::Text; }

    // Numbers as they are; a text by its leading number (0 when none); Null as 0. AsInteger
    // rounds real numbers and texts half to even, as the classic whole-number conversion did.
    std::int64_t AsInteger() const;
    double AsDouble() const;
    // Null as the empty text, numbers in their ordinary text form with "." as decimal point.
    std::string AsText() const;
    // True for a non-zero number, or for the texts "True"/"-1"/a non-zero number.
    bool AsBool() const;

    const std::string& Text() const { return std::get<std::string>(data_); }

    bool operator==(const Value& other) const = default;

    // A single-precision value widened to the double that prints as the float's shortest text,
    // so 187.02f is kept as 187.02 and not as 187.0200042724609.
    static double SingleToDouble(float v);

private:
    std::variant<std::monostate, std::int64_t, double, std::string> data_;
};

} // namespace scorewell
