#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Value.h"
#include "data/Database.h"
#include "data/League.h"

namespace scorewell {

// The results editor works on a race of the league (Race/Stats, drivers by DriverID) or on a race
// staged by the import dialog (STNRace/STNStats, drivers by name). The numbers are the editor's
// Mode values.
enum class RaceSource { League = 0, Staged = 1 };

// The race's own data as stored.
struct RaceSummary {
    Value name;
    Value fileName;
    Value length;
    Value laps;
    Value raceTime;
    Value avgSpeed;
    Value victoryMargin;
    Value cautions;
    Value leadChanges;
    Value weather;
};

// One driver's result as the editor lists it.
struct ResultLine {
    std::int32_t id = 0; // StatsID or STNStatsID
    Value finish;
    Value start;
    std::string name;
    Value lapsRun;
    Value lapsLed;
    Value points;
    Value bonus;
    Value avgSpeed;
    Value qualifying;
    Value reasonOut;
    bool excluded = false;
};

// Nothing when there is no such race.
std::optional<RaceSummary> LoadRaceSummary(Database& league, RaceSource source,
                                           std::int32_t raceId);
// The race's results by finishing position.
std::vector<ResultLine> LoadResultLines(Database& league, RaceSource source, std::int32_t raceId);
// One result; nothing when there is no such result.
std::optional<ResultLine> LoadResultLine(Database& league, RaceSource source,
                                         std::int32_t resultId);

// A driver's result as the result dialog shows it and the user types it: texts.
struct ResultEntry {
    std::string finish;
    std::string start;
    std::string name;
    std::string lapsRun;
    std::string lapsLed;
    std::string points;
    std::string bonus;
    std::string avgSpeed;
    std::string qualifying;
    std::string reasonOut;
};

// The texts of a stored result for the dialog: numbers in their ordinary form with "." as
// decimal point, the empty text for no value.
ResultEntry EntryOf(const ResultLine& line);

// Each of these is one action: it changes the league whole or, throwing ScorewellError with a
// message for the user, not at all. Whole numbers and speeds must be numbers; the name is stored
// as typed without its outer blanks (CheckedDriverName: a name too long is refused, never cut),
// and in a league race it names the driver, who is added when the league has none of that name.
// A blank Reason Out is stored as no value.
std::int32_t AddResult(League& league, RaceSource source, std::int32_t raceId,
                       const ResultEntry& entry);
void UpdateResult(League& league, RaceSource source, std::int32_t resultId,
                  const ResultEntry& entry);
// Results of id 0 (the editor's empty row) are passed over.
void RemoveResults(League& league, RaceSource source, const std::vector<std::int32_t>& resultIds);

} // namespace scorewell
