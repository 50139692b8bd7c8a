#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/League.h"
#include "data/Settings.h"
#include "import/StagedImport.h"

namespace scorewell {

// The race finals that NASCAR Racing 3, NASCAR Legends and NASCAR Racing 2 / 1999 write after a
// race: Windows-1252 text in fixed columns. Positions count bytes from 1.

struct ColumnPlace {
    int position;
    int width;
};

// Where the nine fields of a driver line sit.
struct DriverLineLayout {
    ColumnPlace finish; // not read: positions follow the order of the counted lines
    ColumnPlace start;
    ColumnPlace carNumber; // not read
    ColumnPlace driverName;
    ColumnPlace lapsRun;
    ColumnPlace lapsLed;
    ColumnPlace points;
    ColumnPlace qualifying;
    ColumnPlace reasonOut;
};

// NASCAR Racing 2 / 1999 has a layout of its own; the others share one.
const DriverLineLayout& DriverLineLayoutFor(Simulation simType);

// The track line: the length in miles, and the laps up to the first blank.
inline constexpr ColumnPlace kTrackLengthPlace{26, 5};
inline constexpr ColumnPlace kTrackLapsPlace{41, 3};

// The lines of a file, read one at a time as bytes. CR LF, LF and CR all end a line; a line end
// at the very end of the file does not start another line.
class RaceFinalLines {
public:
    explicit RaceFinalLines(std::string bytes) : bytes_(std::move(bytes)) {}
    RaceFinalLines(const RaceFinalLines&) = delete;
    RaceFinalLines& operator=(const RaceFinalLines&) = delete;

    bool AtEnd() const { return next_ >= bytes_.size(); }
    // The next line without its line end. The file must not be at its end.
    std::string_view Next();
    // The number of the line last read, from 1; 0 before the first.
    int LineNumber() const { return lineNumber_; }

private:
    std::string bytes_;
    std::size_t next_ = 0;
    int lineNumber_ = 0;
};

// The next data line (one that, trimmed, is neither empty nor begins with "*"), untrimmed. The
// last line of the file is given whatever it holds. Nothing when the file is already at its end.
std::optional<std::string_view> ReadDataLine(RaceFinalLines& lines);

// The qualifying speed of a qualifying field (trimmed): 0 for an empty field; with lap reporting
// method 0 the field is the speed; with any other method it is a lap time (m:ss.sss or seconds)
// on a track of trackLength miles. Nothing when a speed field is not a number.
std::optional<float> ConvertQualifying(std::string_view text, LapReportingMethod lapReportingMethod,
                                       float trackLength);

// How a league reads its race finals.
struct RaceFinalReading {
    // NASCAR Racing 2 / 1999 has a layout of its own, and prints the degree sign differently.
    Simulation simType = Simulation::NascarRacing3;
    // How qualifying fields read: a speed or a lap time.
    LapReportingMethod lapReportingMethod = LapReportingMethod::Speed;
    // The decimal separator the program keeps in the race time, speed and margin texts.
    std::string decimalSeparator = ".";
    // NASCAR Legends prints the points of its own scale; a league without a point system of its
    // own keeps them, so the points column must then hold a number.
    bool keepPrintedPoints = false;
    // The sizes of the race's text columns in the league file (the weather column is wider in
    // upgraded files); nothing means no limit.
    std::optional<int> nameSize, fileNameSize, raceTimeSize, avgSpeedSize, marginSize, weatherSize;
    // Drivers the league leaves out: their lines are skipped and take no position. May be empty.
    std::function<bool(const std::string& driver)> isExcluded;
};

// One counted driver line of a race final, in finishing order.
struct RaceFinalResult {
    int finish = 0;
    std::int64_t start = 0;
    std::string driver;
    std::int64_t lapsRun = 0;
    std::int64_t lapsLed = 0;
    std::optional<std::int64_t> printedPoints; // read only when the reading keeps them
    float qualifying = 0;                      // a speed, converted from a lap time if need be
    std::string reasonOut;
};

// A race final as read: texts in UTF-8, the statistics' decimal points as the reading asked.
// An empty text is a field the file left out.
struct ParsedRaceFinal {
    std::string name;
    std::string fileName; // without its folder
    float length = 0;     // miles
    std::int64_t laps = 0;
    std::vector<RaceFinalResult> results;
    std::string raceTime, avgSpeed, victoryMargin, weather;
    std::optional<std::int64_t> cautions, leadChanges;
};

// The race, or the message the user reads when the file cannot be taken.
struct RaceFinalParse {
    std::optional<ParsedRaceFinal> race;
    std::string message;
};

// Reads the bytes of a race final; fileName names it in the messages and gives the race's file
// name. Touches no league: a file is judged on its bytes and the reading alone.
RaceFinalParse ParseRaceFinal(const std::string& fileName, std::string bytes,
                              const RaceFinalReading& reading);

// How the league reads race finals of simType: its decimal separator, point system, column sizes
// and excluded drivers.
RaceFinalReading LeagueReading(League& league, Simulation simType,
                               LapReportingMethod lapReportingMethod);

// Stages a parsed race: one STNRace row, one STNStats row per result with points and prize money
// from pointTable (or the printed points), then the league's bonuses, under a savepoint of its
// own. A race the league file will not take leaves nothing staged and gives the message.
StagingResult StageRaceFinal(League& league, const PointTable& pointTable,
                             const std::string& fileName, const ParsedRaceFinal& race,
                             Simulation simType);

// Reads a race final and stages it (ParseRaceFinal, then StageRaceFinal). simType is the league's
// simulation (0 NASCAR Racing 3, 1 NASCAR Legends, 2 NASCAR Racing 2 / 1999). A file that cannot
// be read leaves nothing staged and gives the message to show.
StagingResult ImportSTNFile(League& league, const PointTable& pointTable,
                            const std::string& fileName, Simulation simType,
                            LapReportingMethod lapReportingMethod);

} // namespace scorewell
