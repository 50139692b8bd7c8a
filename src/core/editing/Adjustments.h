#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "data/AdjustmentRows.h"
#include "data/Database.h"

namespace scorewell {

// An adjustment as the user gives it, in texts as typed.
struct AdjustmentEntry {
    std::string driver;                 // a driver's name, matched without regard to letter case
    std::optional<std::int32_t> raceId; // none: for the season as a whole
    std::string points;                 // a signed whole number other than 0: "-25", "+10", "10"
    std::string reason;                 // why; not blank
};

// The points of an entry. Throws ScorewellError, saying what is wanted, for a text that is not a
// whole number, is 0 or does not fit the league's points.
std::int32_t AdjustmentPoints(std::string_view typed);

// Each of these is one action: the entry is checked before anything is written, and a driver or
// race the league does not know, points that are 0 or no number, or a blank reason throw
// ScorewellError with nothing changed. A recalculation never touches what they store.

// Stores a new adjustment, dated today; gives its AdjustmentID.
std::int32_t AddAdjustment(Database& league, const AdjustmentEntry& entry);
// Changes an adjustment; it keeps the date it was entered.
void EditAdjustment(Database& league, std::int32_t adjustmentId, const AdjustmentEntry& entry);
void RemoveAdjustment(Database& league, std::int32_t adjustmentId);

} // namespace scorewell
