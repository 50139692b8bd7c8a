#include "common/Formatting.h"

#include "common/Format.h"
#include "common/Numbers.h"
#include "common/Text.h"

#include <cmath>

namespace scorewell {

double ConvertSpeedTime(double value, double length) {
    if (value == 0) {
        return 0;
    }
    return length / value * 3600.0;
}

std::string FormatTime(double seconds, std::string_view decimalSeparator) {
    if (seconds == 0 || !std::isfinite(seconds)) {
        return "--";
    }
    double rest = seconds;
    const double hours = std::floor(rest / 3600);
    rest -= hours * 3600;
    const double minutes = std::floor(rest / 60);
    rest -= minutes * 60;
    std::string text;
    if (hours >= 1) {
        text = FormatNumber(hours, "0", decimalSeparator) + ":" +
               FormatNumber(minutes, "00", decimalSeparator) + ":";
    } else if (minutes >= 1) {
        text = FormatNumber(minutes, "#0:", decimalSeparator);
    }
    return text + FormatNumber(rest, "00.000", decimalSeparator);
}

std::string FormatQualifying(std::optional<double> value, float length,
                             LapReportingMethod lapReportingMethod,
                             std::string_view decimalSeparator) {
    if (!value) {
        return "--";
    }
    switch (lapReportingMethod) {
    case LapReportingMethod::Speed:
        return FormatNumber(*value, "##0.000;;--", decimalSeparator);
    case LapReportingMethod::LapTime:
        return FormatTime(ConvertSpeedTime(ToSingle(*value), length), decimalSeparator);
    default:
        return {};
    }
}

std::string LapTimeEntry(double speed, float length) {
    if (speed == 0 || length == 0) {
        return "0";
    }
    return FormatTime(static_cast<float>(length / speed * 3600.0), ".");
}

std::optional<double> SpeedOfLapTimeEntry(std::string_view text, float length) {
    const std::string typed = Trim(text);
    const std::size_t colon = typed.find(':');
    double minutes = 0;
    std::string secondsText = typed;
    if (colon != std::string::npos) {
        const std::optional<double> m = StrictNumber(typed.substr(0, colon));
        if (!m || *m < 0 || *m != std::floor(*m)) {
            return std::nullopt;
        }
        minutes = *m;
        secondsText = typed.substr(colon + 1);
    }
    const std::optional<double> seconds = StrictNumber(secondsText);
    if (!seconds || *seconds < 0 || (colon != std::string::npos && *seconds >= 60)) {
        return std::nullopt;
    }
    const double time = minutes * 60 + *seconds;
    if (time == 0) {
        return 0.0;
    }
    // Rounded as speeds are shown, so the time typed is the time shown again.
    return std::round(length / time * 3600.0 * 1000.0) / 1000.0;
}

std::string NumberText(double value, std::string_view decimalSeparator) {
    return GeneralNumberText(value, decimalSeparator);
}

int ColorByte(std::int32_t color, int n) {
    if (n < 1 || n > 3 || color < 0 || color >= 0x1000000) {
        return -1;
    }
    return (color >> (8 * (n - 1))) & 0xFF;
}

std::string HTMLColor(std::int32_t color) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (int n = 1; n <= 3; ++n) {
        // An out-of-range component is -1, whose last two hexadecimal digits are FF.
        const int component = ColorByte(color, n) & 0xFF;
        text += kHex[component >> 4];
        text += kHex[component & 0xF];
    }
    return text;
}

int DefaultSimIndex(const std::array<std::string, 3>& simPath) {
    if (!Trim(simPath[2]).empty()) {
        return 3;
    }
    return simPath[0].empty() ? 1 : 0;
}

} // namespace scorewell
