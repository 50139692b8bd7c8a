#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "import/Tracks.h"

namespace scorewell {

// The race of an exported-standings page.
struct CRaceInfo {
    std::string Name;
    std::int16_t Laps = 0;
    std::string FileName;
    float Length = 0; // miles
    std::string RaceTime;
    std::string AvgSpeed;      // as read, with "mph" appended
    std::string VictoryMargin; // "2 lap(s)" or "0.452 sec"
    std::string Cautions;
    std::string Weather;
};

// One row of the race table.
struct CDriverInfo {
    std::string Name;
    std::int16_t Start = 0;
    std::int16_t Finish = 0; // as printed in the file
    std::int16_t LapsRun = 0;
    std::int16_t LapsLed = 0;
    std::int16_t Points = 0; // as printed in the file
    float Qualifying = 0;    // mph, 0 when the file gives none
    std::string ReasonOut;
};

// The race's drivers in the order of the race table, looked up by name.
class CDrivers : public CKeyedCollection<CDriverInfo> {
public:
    // Adds the driver under key (without key when key is empty). Throws std::invalid_argument
    // when the key is taken.
    CDriverInfo& Add(CDriverInfo driver, std::string_view key);
};

// Reads a NASCAR Racing 4 exported-standings page: the race, and its drivers with their
// qualifying speeds.
class CHTMLParser {
public:
    enum : long {
        ErrNotExported = 2,
        ErrCannotOpen = 3,
        ErrUnclosedElement = 4,
        ErrCautionFlags = 5,
        ErrPosition = 6,
        ErrTooManyCells = 7,
        ErrDuplicateDriver = 8,
        ErrUnknownTrack = 9,
        ErrNumberTooLarge = 10,
        ErrUnexpected = 11,
    };

    std::string InputFile;
    // The track catalogue: lengths of the tracks, needed for speeds and the race time.
    const CTracks* TrackList = nullptr;
    // Named in the message about a track missing from the catalogue, when set.
    std::string TracksFolder;
    // For the race time text.
    std::string DecimalSeparator = ".";

    const CRaceInfo& Race() const { return race_; }
    const CDrivers& Drivers() const { return drivers_; }
    CDrivers& Drivers() { return drivers_; }
    const std::string& ErrMsg() const { return errMsg_; }
    long ErrNum() const { return errNum_; }

    // True when the page was read; otherwise ErrNum and ErrMsg tell why. Never throws.
    bool Execute();
    // As Execute, for the bytes of a page already read; InputFile gives only the file name.
    bool ExecuteBytes(std::string_view bytes);

private:
    class Reader;

    CRaceInfo race_;
    CDrivers drivers_;
    std::string errMsg_;
    long errNum_ = 0;
};

} // namespace scorewell
