#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/Domain.h"

namespace scorewell {

// 0 when value is 0, else length / value * 3600: a lap time in seconds gives the speed in mph,
// a speed in mph gives the lap time in seconds. Worked in double: a caller rounds the result once,
// to the single it stores or the text it shows.
double ConvertSpeedTime(double value, double length);

// "--" for 0 (and for infinite or undefined values); otherwise [h:]m:ss.sss ("05.500",
// "1:05.500", "2:46:40.000", "10:00:00.000").
std::string FormatTime(double seconds, std::string_view decimalSeparator);

// "--" for no value; reported as speeds, the speed with "##0.000;;--", as lap times, the lap
// time for the track length.
std::string FormatQualifying(std::optional<double> value, float length,
                             LapReportingMethod lapReportingMethod,
                             std::string_view decimalSeparator);

// A stored qualifying speed as the lap time a user types for the track: seconds, or minutes and
// seconds ("49.500", "1:05.500"); "0" for no speed.
std::string LapTimeEntry(double speed, float length);
// The speed of a lap time typed as seconds or as minutes:seconds, with "." as decimal point;
// 0 for a time of 0, nothing when the text is no lap time.
std::optional<double> SpeedOfLapTimeEntry(std::string_view text, float length);

// The number's ordinary text with "." replaced by the decimal separator.
std::string NumberText(double value, std::string_view decimalSeparator);

// Colour component n (1 red, 2 green, 3 blue) of a 0x00BBGGRR colour; -1 when n is not 1 to 3 or
// the colour is negative or not below 2^24 (a system colour).
int ColorByte(std::int32_t color, int n);
// Six hexadecimal digits red-green-blue; FFFFFF for colours out of range.
std::string HTMLColor(std::int32_t color);

// The simulation proposed for a new league: 3 (NASCAR Racing 4) when its folder is set, else 0
// (NASCAR Racing 3) when that folder is set, else 1 (NASCAR Legends).
int DefaultSimIndex(const std::array<std::string, 3>& simPath);

} // namespace scorewell
