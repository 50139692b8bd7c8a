#include "common/Value.h"

#include "common/Numbers.h"

#include <charconv>
#include <cmath>

namespace scorewell {

std::int64_t Value::AsInteger() const {
    switch (GetType()) {
    case Type::Null:
        return 0;
    case Type::Integer:
        return std::get<std::int64_t>(data_);
    case Type::Real:
    case Type::Text:
        break;
    }
    // Real numbers and texts round as the classic whole-number conversion did.
    return RoundHalfEven(AsDouble());
}

double Value::AsDouble() const {
    switch (GetType()) {
    case Type::Null:
        return 0;
    case Type::Integer:
        return static_cast<double>(std::get<std::int64_t>(data_));
    case Type::Real:
        return std::get<double>(data_);
    case Type::Text:
        break;
    }
    return LeadingNumber(Text());
}

std::string Value::AsText() const {
    switch (GetType()) {
    case Type::Null:
        return {};
    case Type::Integer:
        return std::to_string(std::get<std::int64_t>(data_));
    case Type::Real:
        return GeneralNumberText(std::get<double>(data_));
    case Type::Text:
        break;
    }
    return Text();
}

bool Value::AsBool() const {
    switch (GetType()) {
    case Type::Null:
        return false;
    case Type::Integer:
        return std::get<std::int64_t>(data_) != 0;
    case Type::Real:
        return std::get<double>(data_) != 0;
    case Type::Text:
        break;
    }
    if (Text() == "True") {
        return true;
    }
    const auto number = StrictNumber(Text());
    return number && *number != 0;
}

double Value::SingleToDouble(float v) {
    if (!std::isfinite(v)) {
        return static_cast<double>(v);
    }
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, v);
    double widened = 0;
    std::from_chars(buffer, written.ptr, widened);
    return widened;
}

} // namespace scorewell
