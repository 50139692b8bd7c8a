#include "RaceFinalWriter.h"

#include <cerrno>
#include <cstdio>
#include <stdexcept>
#include <system_error>

#include "common/Paths.h"
#include "common/Platform.h"
#include "common/Text.h"
#include "import/RaceFinal.h"

namespace scorewell {

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr std::size_t kTableWidth = 79;

// A line being laid out in fixed columns.
class FixedLine {
public:
    // Left-aligned; cut to the place's width.
    void Left(ColumnPlace place, std::string_view bytes) {
        Put(place, bytes.substr(0, static_cast<std::size_t>(place.width)), false);
    }
    // Right-aligned; a number never loses digits, so one that does not fit is an error.
    void Right(ColumnPlace place, std::string_view bytes) {
        if (bytes.size() > static_cast<std::size_t>(place.width)) {
            throw std::invalid_argument("\"" + std::string(bytes) + "\" does not fit in " +
                                        std::to_string(place.width) + " columns");
        }
        Put(place, bytes, true);
    }
    void Right(ColumnPlace place, int number) { Right(place, std::to_string(number)); }

    std::string Text() const { return TrimRight(text_); }

private:
    void Put(ColumnPlace place, std::string_view bytes, bool right) {
        const auto start = static_cast<std::size_t>(place.position - 1);
        const auto width = static_cast<std::size_t>(place.width);
        if (text_.size() < start + width) {
            text_.resize(start + width, ' ');
        }
        const std::size_t offset = right ? width - bytes.size() : 0;
        text_.replace(start + offset, bytes.size(), bytes);
    }

    std::string text_;
};

// Five characters, as many decimals as fit.
std::string LengthText(double miles) {
    char buffer[32];
    for (int decimals = 3; decimals >= 0; --decimals) {
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, miles);
        if (std::string_view(buffer).size() <= 5) {
            return buffer;
        }
    }
    throw std::invalid_argument("the track length " + std::string(buffer) +
                                " does not fit in 5 columns");
}

void Statistic(std::string& out, std::string_view key, const std::string& value) {
    if (!value.empty()) {
        out += std::string(key) + " - " + Utf8ToCp1252(value) + kLineEnd;
    }
}

} // namespace

std::string RaceFinalText(const RaceFinalRace& race) {
    const DriverLineLayout& layout = DriverLineLayoutFor(race.simType);
    const std::string rule(kTableWidth, '*');
    const std::string hyphens(kTableWidth, '-');
    const char* title = race.simType == Simulation::NascarRacing2
                            ? "NASCAR Racing 2 / 1999 Race Results"
                            : "NASCAR Racing 3 Race Results";

    std::string out;
    out += rule + kLineEnd;
    FixedLine banner;
    banner.Left({1, 1}, "*");
    banner.Left({23, 40}, title);
    banner.Left({static_cast<int>(kTableWidth), 1}, "*");
    out += banner.Text() + kLineEnd;
    out += rule + kLineEnd;
    out += kLineEnd;
    out += "Race Final   " + Utf8ToCp1252(race.name) + kLineEnd;

    FixedLine track;
    track.Left({1, kTrackLengthPlace.position - 2}, Utf8ToCp1252(race.track));
    track.Right(kTrackLengthPlace, LengthText(race.length));
    track.Left({kTrackLengthPlace.position + kTrackLengthPlace.width + 1, 5}, "miles");
    // The laps are read up to the first blank, so they stand at the left of their place.
    const std::string laps = std::to_string(race.laps);
    if (laps.size() > static_cast<std::size_t>(kTrackLapsPlace.width)) {
        throw std::invalid_argument("the laps " + laps + " do not fit in 3 columns");
    }
    track.Left({kTrackLapsPlace.position, 9}, laps + " laps");
    out += track.Text() + kLineEnd;
    out += kLineEnd;

    FixedLine heading;
    heading.Right(layout.finish, "Fn");
    heading.Right(layout.start, "St");
    heading.Right(layout.carNumber, "Car");
    heading.Left(layout.driverName, "Driver");
    heading.Right(layout.lapsRun, "Lps");
    heading.Right(layout.lapsLed, "Led");
    heading.Right(layout.points, "Pts");
    heading.Right(layout.qualifying, "Qual");
    heading.Left(layout.reasonOut, "Status");
    out += hyphens + kLineEnd;
    out += heading.Text() + kLineEnd;
    out += hyphens + kLineEnd;

    int finish = 0;
    for (const RaceFinalCar& car : race.cars) {
        FixedLine line;
        line.Right(layout.finish, ++finish);
        line.Right(layout.start, car.start);
        line.Right(layout.carNumber, Utf8ToCp1252(car.carNumber));
        line.Left(layout.driverName, Utf8ToCp1252(car.driver));
        line.Right(layout.lapsRun, car.lapsRun);
        line.Right(layout.lapsLed, car.lapsLed);
        line.Right(layout.points, car.points);
        line.Right(layout.qualifying, Utf8ToCp1252(car.qualifying));
        line.Left(layout.reasonOut, Utf8ToCp1252(car.reasonOut));
        out += line.Text() + kLineEnd;
    }
    out += kLineEnd;

    Statistic(out, "Race time", race.raceTime);
    Statistic(out, "Average speed", race.avgSpeed);
    Statistic(out, "Margin of victory", race.victoryMargin);
    if (race.cautions) {
        Statistic(out, "Caution flags", std::to_string(*race.cautions));
    }
    if (race.leadChanges) {
        Statistic(out, "# of lead changes", std::to_string(*race.leadChanges));
    }
    Statistic(out, "Weather",
              ReplaceAll(race.weather, "°", race.simType == Simulation::NascarRacing2 ? "©" : "^"));
    // The reader leaves the file's last line alone; the statistics end before it.
    out += kLineEnd;
    return out;
}

void WriteRaceFinal(const std::string& path, const RaceFinalRace& race) {
    const std::string bytes = RaceFinalText(race);
    std::FILE* file = OpenFile(path, "wb");
    if (!file) {
        throw std::runtime_error("\"" + path +
                                 "\" cannot be written: " + std::generic_category().message(errno));
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        throw std::runtime_error("\"" + path +
                                 "\" cannot be written: " + std::generic_category().message(errno));
    }
}

} // namespace scorewell
