#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/Drivers.h"
#include "data/League.h"

namespace scorewell {

// The roster of the league: its drivers, added, changed, merged and removed by the driver list
// and the command line. Every change is one transaction; names are compared as the league
// compares them, without regard to letter case (Driver.NameKey).

// What the user gives for a driver.
struct DriverEntry {
    std::string name;
    std::int32_t handicap = 0;
    bool rookie = false;
    bool excluded = false;
};

// A driver of the roster and how many results he has in the league's races.
struct RosterDriver {
    DriverRow driver;
    std::int64_t results = 0;
};

// The handicap a box's text gives: its leading whole number ("12-3" is 12), 0 when it has none
// ("", "-").
std::int32_t HandicapValue(std::string_view text);

// The drivers by name, each with his number of results.
std::vector<RosterDriver> ListRoster(Database& league);

// The driver as stored; nothing when the league no longer has him.
std::optional<DriverRow> LoadDriver(Database& league, std::int32_t driverId);

// The driver, other than except, whose name is the same as name without regard to letter case;
// 0 when there is none.
std::int32_t FindNameClash(Database& league, std::string_view name, std::int32_t except = 0);

// The one driver a name given by the user stands for: the driver of that name without regard to
// letter case, or, among drivers whose names clash, the one written exactly so. Throws
// ScorewellError naming the name when there is none, or no way to tell which one is meant.
std::int32_t DriverByName(Database& league, std::string_view name);

// Adds a driver; gives his DriverID. Throws ScorewellError, and adds nothing, when the name is
// blank, too long, holds "|", or is another driver's.
std::int32_t AddDriver(Database& league, const DriverEntry& entry);

// Changes a driver's name, handicap and flags. A name only written in other letter case is the
// same driver's. Throws ScorewellError, and changes nothing, when the name cannot be a driver's,
// is another driver's (merge instead), or the driver is gone.
void UpdateDriver(Database& league, std::int32_t driverId, const DriverEntry& entry);

// The races (names) in which both drivers have a result, in race order.
std::vector<std::string> SharedRaces(Database& league, std::int32_t a, std::int32_t b);

// Merges driver from into driver into: every result (and every other row of the league that
// belongs to a driver) passes to into, and from is removed. into keeps his own name, handicap and
// flags, and the results keep their points; nothing is scored again. Refused (ScorewellError
// naming the races, nothing changed) when both drivers have a result in one race: they are two
// people then. The league as it was is kept beside it (LEAGUE.slf.bak) first.
void MergeDrivers(League& league, std::int32_t from, std::int32_t into);

// Removes drivers with all their results; the other results keep their points and positions.
// The league as it was is kept beside it first when anything is removed. Gives the number of
// results removed.
std::int64_t RemoveDrivers(League& league, const std::vector<std::int32_t>& driverIds);

// Sets the Exclude flag of drivers, in one transaction.
void SetExcludedById(Database& league, const std::vector<std::int32_t>& driverIds, bool exclude);

} // namespace scorewell
