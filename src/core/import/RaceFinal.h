#pragma once

#include <optional>
#include <string>
#include <string_view>

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

// Reads a race final and stages it: one STNRace row, one STNStats row per counted driver with
// position, points and prize money from pointTable, then the league's bonuses. simType is the
// league's simulation (0 NASCAR Racing 3, 1 NASCAR Legends, 2 NASCAR Racing 2 / 1999);
// lapReportingMethod tells how qualifying fields read (a speed or a lap time). A file that cannot
// be read leaves nothing staged and gives the message to show.
StagingResult ImportSTNFile(League& league, const PointTable& pointTable,
                            const std::string& fileName, Simulation simType,
                            LapReportingMethod lapReportingMethod);

// As ImportSTNFile, for the bytes of a race final already read; fileName names it in the
// messages and gives the race's file name.
StagingResult ImportSTNBytes(League& league, const PointTable& pointTable,
                             const std::string& fileName, std::string bytes, Simulation simType,
                             LapReportingMethod lapReportingMethod);

} // namespace scorewell
