#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/Database.h"
#include "data/League.h"

namespace scorewell {

// The league's own scoring as the point system editor and the points command change it: points
// and prize money by finishing position, the points of each bonus rule, and the two switches
// that make scoring use them (settings 13 and 14).

// One finishing position; its number is its place in the table, from 1. A cell not filled in yet
// is empty and is stored as 0.
struct PositionValues {
    std::optional<std::int32_t> points;
    std::optional<std::int32_t> prizeMoney;

    bool operator==(const PositionValues&) const = default;
};
using PositionTable = std::vector<PositionValues>;

enum class PointColumn { Points, PrizeMoney };

// The fields of one line separated by commas; a field in double quotes may hold commas and doubled
// quotes, as spreadsheets write them.
std::vector<std::string> CsvFields(std::string_view line);

// What a cell of the column may hold: points are 16-bit in the league, prize money 32-bit.
std::int32_t ColumnLimit(PointColumn column);
// The column's name as the editor and the table files show it: "Points", "Prize Money".
const char* ColumnName(PointColumn column);

struct BonusRulePoints {
    std::int32_t bonusId = 0;
    std::string name;
    // Empty when its box was left empty; stored as 0.
    std::optional<std::int32_t> points;
};

struct LeaguePointSystem {
    PositionTable positions;
    std::vector<BonusRulePoints> bonuses; // in BonusID order
    bool useCustomPoints = false;         // setting 13
    bool useCustomBonus = false;          // setting 14
};

// The point system as the league holds it: positions in Position order, bonus rules in BonusID
// order, the two switches.
LeaguePointSystem ReadPointSystem(Database& league);

// Stores the whole point system as one action: the switches, the points of every bonus rule (a
// rule removed meanwhile is passed over), and the positions 1 to n, empty cells as 0. No stored
// race changes; the league's working settings take the new switches once it is stored. Throws
// ScorewellError for a value out of its column's range, with nothing stored.
void SavePointSystem(League& league, const LeaguePointSystem& system);

// How many races a recalculation of every race would change now (start or finishing positions,
// points, bonus or prize money of any result). Worked out by rescoring inside the action and
// taking it back, so it agrees with the recalculation to the last point; the league is left as it
// was. Throws what the rescoring throws (a bonus rule that cannot run).
int CountRacesChangedByRescoring(League& league);

// Sets the number of positions: new ones are empty, surplus ones go from the end. Fewer than 1
// becomes 1.
void SetTotalPositions(PositionTable& table, int positions);

// Fills positions `from` through `through` of the column: value, then value - step for the next,
// and so on, never below 0 (a value of 0 or less is written unchanged down the range). Positions
// beyond the table are added to it, empty in the other column. Throws ScorewellError, changing
// nothing, when from is below 1 or after through, or a value does not fit the column.
void FillPositions(PositionTable& table, PointColumn column, int from, int through,
                   std::int64_t value, std::int64_t step);

// Point tables shared as text: "Position,Points,Prize Money", a header line, one line per
// position in order, empty fields for empty cells, UTF-8.
std::string PointTableCsv(const PositionTable& table);
// Reads a point table file. Positions must run 1, 2, 3 ... and every value fit its column; a
// line that does not is refused with the whole file, naming the file and the line. Throws
// ScorewellError.
PositionTable ReadPointTableCsv(const std::string& path);
// Parses the text of a point table file; fileName names it in messages.
PositionTable ParsePointTableCsv(std::string_view text, const std::string& fileName);
// Writes a point table file whole, or leaves the file as it was; throws ScorewellError or
// std::system_error.
void WritePointTableCsv(const std::string& path, const PositionTable& table);

} // namespace scorewell
