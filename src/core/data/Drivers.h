#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/Database.h"

namespace scorewell {

struct DriverRow {
    std::int32_t driverId = 0;
    std::string name;
    bool exclude = false;
    bool rookie = false;
    std::int32_t handicap = 0;
};

// The most characters a driver's name has in the league (Driver.Name, STNStats.DriverName).
inline constexpr std::size_t kDriverNameLength = 50;

// What identifies a driver: his name case-folded, so that names written in other letter case, in
// any script, are one driver. Driver.NameKey holds it beside every name, under a unique index.
std::string DriverNameKey(std::string_view name);

// A name typed for a driver, without its outer blanks. Throws ScorewellError, saying what to do,
// when it is blank or longer than the league keeps; it is never cut.
std::string CheckedDriverName(std::string_view typed);

// Brings Driver.NameKey in step with the names (a file of an older version has none, a file
// written by another program may have them out of step) and keeps its index unique whenever no
// two names clash. Names that clash (one name apart from letter case, kept from before the key
// existed) keep a plain index until the clash is gone; each clash gives one warning for the user.
// Writes nothing when all is in step.
std::vector<std::string> UpdateDriverNameKeys(Database& league);

// The league's drivers by name.
std::vector<DriverRow> ListDrivers(Database& league);

// The columns DriverRowOf reads, in its order: the start of a query's select list.
inline constexpr const char* kDriverRowColumns = "DriverID, Name, Exclude, Rookie, Handicap";

// The driver at the cursor, whose first columns are kDriverRowColumns.
DriverRow DriverRowOf(const Cursor& c);

// The drivers whose name matches without regard to letter case (one, unless the league holds
// names that clash).
std::vector<std::int32_t> FindDriversByName(Database& league, std::string_view name);

// Sets the Exclude flag of the drivers of these names, all in one transaction. Throws
// ScorewellError naming the first name the league does not know; nothing is changed then.
void SetDriversExcluded(Database& league, const std::vector<std::string>& names, bool exclude);

// The driver of that name (compared by DriverNameKey, without regard to letter case in any
// script), added with his key when there is none. A blank name cannot be added: the driver's
// name is required.
std::int32_t GetDriverID(Database& league, std::string_view name);
// The Exclude flag of the driver of that name, compared as GetDriverID does; false when none.
bool IsDriverNameExcluded(Database& league, std::string_view name);

} // namespace scorewell
