#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Value.h"
#include "data/Database.h"

namespace scorewell {

// What ReadSetting gives for a setting that does not exist: one character of code 0. It is
// distinct from an empty value (a row whose value is Null or blank reads as the empty text).
inline const std::string kMissingSetting(1, '\0');

// The trimmed value of a setting of either database; the empty text for Null or blank; the
// missing marker when there is no such row or it cannot be read. settingName, when given,
// receives the row's name (empty for Null) and is left alone when the row is missing.
std::string ReadSetting(Database& db, int settingsId, std::string* settingName = nullptr);

// Insert-or-update of one setting; a blank value is stored as Null. False when it could not be
// stored.
bool WriteSetting(Database& db, int settingsId, std::string_view value);

// The readings of setting values used across the program:
// flags written by the program count as set only when exactly "True";
bool ReadSettingFlag(Database& db, int settingsId);
// the switches 13 and 14: a number (non-zero is on), or "True"/"False";
bool ReadSettingSwitch(Database& db, int settingsId);
// lenient numbers: the leading number, 0 when none or missing;
double ReadSettingNumber(Database& db, int settingsId);
// strict numbers: the whole value must be a number; nothing otherwise;
std::optional<std::int32_t> ReadSettingInteger(Database& db, int settingsId);
// colours: "&H" hexadecimal texts; nothing when missing or not a number.
std::optional<std::int32_t> ReadSettingColor(Database& db, int settingsId);

// The default when the value is Null, else the value's text.
std::string NullToText(const Value& value, std::string_view defaultText);

// Points (and prize money) by finishing position. Preset mode: positions 1 to 43, columns 0 to 3
// (Tabulon, LPoints1, LPoints2, LPoints3 of the program database); custom mode: one position per
// row of the league's PointSystem, columns 0 (points) and 1 (prize money).
class PointTable {
public:
    PointTable() = default;
    PointTable(int positions, int columns);

    int Positions() const { return positions_; }
    int Columns() const { return columns_; }
    // The value at a position (from 1) and column; Null outside the table or where it is empty.
    const Value& At(int position, int column) const;
    void Set(int position, int column, Value value);

private:
    int positions_ = 0;
    int columns_ = 0;
    std::vector<Value> cells_;
};

// Fills a point table from the program database (preset) or the league file (custom).
// useCustomBonusSystem is accepted for symmetry with the saved settings and has no effect.
PointTable LoadPointSystem(Database& programDb, Database& league, bool useCustomPointSystem,
                           bool useCustomBonusSystem);

// Sets the points of one bonus rule; false when the update failed.
bool SetBonusPoints(Database& db, std::int32_t bonusId, int points);

} // namespace scorewell
