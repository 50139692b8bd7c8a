#include "editing/PointSystem.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <limits>
#include <set>

#include "common/Domain.h"
#include "common/Errors.h"
#include "common/Files.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "data/Settings.h"
#include "scoring/Recalculation.h"

namespace scorewell {

namespace {

constexpr std::int32_t kLastPosition = std::numeric_limits<std::int16_t>::max();
constexpr const char* kCsvHeader = "Position,Points,Prize Money";

std::optional<std::int32_t> CellValue(const Value& v) {
    if (v.IsNull()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(v.AsInteger());
}

Value Stored(const std::optional<std::int32_t>& cell) {
    return Value(cell.value_or(0));
}

std::string Cell(const std::optional<std::int32_t>& cell) {
    return cell ? std::to_string(*cell) : std::string();
}

void CheckCell(const std::optional<std::int32_t>& cell, PointColumn column, std::size_t index) {
    if (cell && (*cell < 0 || *cell > ColumnLimit(column))) {
        throw ScorewellError("The " + ToLower(ColumnName(column)) + " of position " +
                             std::to_string(index + 1) + " (" + std::to_string(*cell) +
                             ") must be a whole number from 0 to " +
                             std::to_string(ColumnLimit(column)) + ".");
    }
}

} // namespace

std::vector<std::string> CsvFields(std::string_view line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

namespace {

// A whole number from 0 to limit written with digits only; nothing otherwise.
std::optional<std::int32_t> WholeNumber(const std::string& text, std::int32_t limit) {
    if (text.empty() || text.size() > 10 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const long long n = std::stoll(text);
    if (n > limit) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(n);
}

} // namespace

std::int32_t ColumnLimit(PointColumn column) {
    return column == PointColumn::Points ? std::numeric_limits<std::int16_t>::max()
                                         : std::numeric_limits<std::int32_t>::max();
}

const char* ColumnName(PointColumn column) {
    return column == PointColumn::Points ? "Points" : "Prize Money";
}

LeaguePointSystem ReadPointSystem(Database& league) {
    LeaguePointSystem system;
    for (const auto& row :
         league.QueryAll("SELECT Points, PrizeMoney FROM PointSystem ORDER BY Position").rows) {
        system.positions.push_back({CellValue(row[0]), CellValue(row[1])});
    }
    for (const auto& row :
         league.QueryAll("SELECT BonusID, Name, Points FROM Bonus ORDER BY BonusID").rows) {
        system.bonuses.push_back(
            {static_cast<std::int32_t>(row[0].AsInteger()), row[1].AsText(), CellValue(row[2])});
    }
    system.useCustomPoints = ReadSettingSwitch(league, SettingId::UseCustomPointSystem);
    system.useCustomBonus = ReadSettingSwitch(league, SettingId::UseCustomBonusSystem);
    return system;
}

void SavePointSystem(League& league, const LeaguePointSystem& system) {
    if (system.positions.size() > static_cast<std::size_t>(kLastPosition)) {
        throw ScorewellError("A point system holds at most " + std::to_string(kLastPosition) +
                             " positions.");
    }
    for (std::size_t i = 0; i < system.positions.size(); ++i) {
        CheckCell(system.positions[i].points, PointColumn::Points, i);
        CheckCell(system.positions[i].prizeMoney, PointColumn::PrizeMoney, i);
    }
    for (const BonusRulePoints& bonus : system.bonuses) {
        const std::int32_t points = bonus.points.value_or(0);
        if (points < 0 || points > ColumnLimit(PointColumn::Points)) {
            throw ScorewellError("The points of the bonus rule \"" + bonus.name +
                                 "\" must be a whole number from 0 to " +
                                 std::to_string(ColumnLimit(PointColumn::Points)) + ".");
        }
    }

    Database& db = league.Db();
    Transaction t(db);
    for (auto [id, on] : {std::pair{SettingId::UseCustomPointSystem, system.useCustomPoints},
                          std::pair{SettingId::UseCustomBonusSystem, system.useCustomBonus}}) {
        if (!WriteSetting(db, id, on ? "1" : "0")) {
            throw ScorewellError("The point system could not be stored in \"" + league.Path() +
                                 "\": setting " + std::to_string(id) + " could not be written.");
        }
    }
    for (const BonusRulePoints& bonus : system.bonuses) {
        if (!SetBonusPoints(db, bonus.bonusId, bonus.points.value_or(0))) {
            throw ScorewellError("The points of the bonus rule \"" + bonus.name +
                                 "\" could not be stored in \"" + league.Path() + "\".");
        }
    }
    db.Execute("DELETE FROM PointSystem");
    int position = 0;
    for (const PositionValues& row : system.positions) {
        db.Execute("INSERT INTO PointSystem (Position, Points, PrizeMoney) VALUES (?, ?, ?)",
                   {Value(++position), Stored(row.points), Stored(row.prizeMoney)});
    }
    t.Commit();
    league.Settings().useCustomPointSystem = system.useCustomPoints;
    league.Settings().useCustomBonusSystem = system.useCustomBonus;
}

int CountRacesChangedByRescoring(League& league) {
    Database& db = league.Db();
    const char* results =
        "SELECT RaceID, Start, Finish, Points, Bonus, PrizeMoney FROM Stats ORDER BY StatsID";
    Transaction t(db);
    const ResultSet before = db.QueryAll(results);
    RecalculateAllRaces(league);
    const ResultSet after = db.QueryAll(results);
    t.Rollback();
    std::set<std::int64_t> changed;
    for (std::size_t i = 0; i < before.rows.size() && i < after.rows.size(); ++i) {
        if (before.rows[i] != after.rows[i]) {
            changed.insert(before.rows[i][0].AsInteger());
        }
    }
    return static_cast<int>(changed.size());
}

void SetTotalPositions(PositionTable& table, int positions) {
    table.resize(static_cast<std::size_t>(std::clamp(positions, 1, kLastPosition)));
}

void FillPositions(PositionTable& table, PointColumn column, int from, int through,
                   std::int64_t value, std::int64_t step) {
    if (from < 1 || from > through || through > kLastPosition) {
        throw ScorewellError("Positions " + std::to_string(from) + " through " +
                             std::to_string(through) +
                             " cannot be filled: give a first position from 1 and a last one "
                             "no smaller, up to " +
                             std::to_string(kLastPosition) + ".");
    }
    const std::int64_t limit = ColumnLimit(column);
    if (value < 0 || value > limit || step < 0 || step > limit) {
        throw ScorewellError(std::string(ColumnName(column)) +
                             " cannot be filled: the initial value and the interval must be "
                             "whole numbers from 0 to " +
                             std::to_string(limit) + ".");
    }
    if (table.size() < static_cast<std::size_t>(through)) {
        table.resize(static_cast<std::size_t>(through));
    }
    for (int p = from; p <= through; ++p) {
        PositionValues& row = table[static_cast<std::size_t>(p - 1)];
        (column == PointColumn::Points ? row.points : row.prizeMoney) =
            static_cast<std::int32_t>(value);
        if (value > 0) {
            value = std::max<std::int64_t>(0, value - step);
        }
    }
}

std::string PointTableCsv(const PositionTable& table) {
    std::string text = std::string(kCsvHeader) + "\n";
    int position = 0;
    for (const PositionValues& row : table) {
        text +=
            std::to_string(++position) + "," + Cell(row.points) + "," + Cell(row.prizeMoney) + "\n";
    }
    return text;
}

PositionTable ParsePointTableCsv(std::string_view text, const std::string& fileName) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    const std::string file = "\"" + fileName + "\"";
    PositionTable table;
    bool header = false;
    int lineNumber = 0;
    for (std::string_view rest = text; !rest.empty();) {
        const std::size_t end = rest.find('\n');
        std::string line(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (Trim(line).empty()) {
            continue;
        }
        const std::string where = file + " line " + std::to_string(lineNumber) + ": ";
        std::vector<std::string> fields = CsvFields(line);
        for (std::string& f : fields) {
            f = Trim(f);
        }
        if (!header) {
            if (fields.size() != 3 || !EqualsNoCase(fields[0], "Position") ||
                !EqualsNoCase(fields[1], "Points") || !EqualsNoCase(fields[2], "Prize Money")) {
                throw ScorewellError(where + "the first line must be the header \"" + kCsvHeader +
                                     "\". Nothing was read.");
            }
            header = true;
            continue;
        }
        if (fields.size() != 3) {
            throw ScorewellError(where + "a line holds three fields (" + kCsvHeader + "), not " +
                                 std::to_string(fields.size()) + ". Nothing was read.");
        }
        const std::int32_t expected = static_cast<std::int32_t>(table.size()) + 1;
        if (WholeNumber(fields[0], kLastPosition) != expected) {
            throw ScorewellError(where + "the position \"" + fields[0] + "\" should be " +
                                 std::to_string(expected) +
                                 ": positions run 1, 2, 3 ... in order. Nothing was read.");
        }
        PositionValues row;
        for (PointColumn column : {PointColumn::Points, PointColumn::PrizeMoney}) {
            const std::string& field = fields[column == PointColumn::Points ? 1 : 2];
            if (field.empty()) {
                continue;
            }
            const std::optional<std::int32_t> n = WholeNumber(field, ColumnLimit(column));
            if (!n) {
                throw ScorewellError(where + "the " + ToLower(ColumnName(column)) + " \"" + field +
                                     "\" are not a whole number from 0 to " +
                                     std::to_string(ColumnLimit(column)) + ". Nothing was read.");
            }
            (column == PointColumn::Points ? row.points : row.prizeMoney) = n;
        }
        table.push_back(row);
    }
    if (table.empty()) {
        throw ScorewellError(file + " holds no positions: it should start with the line \"" +
                             kCsvHeader + "\" and give one position a line.");
    }
    return table;
}

PositionTable ReadPointTableCsv(const std::string& path) {
    std::ifstream in(NativePath(path), std::ios::binary);
    if (!in) {
        throw ScorewellError("The point table \"" + path + "\" cannot be read.");
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        throw ScorewellError("The point table \"" + path + "\" cannot be read.");
    }
    return ParsePointTableCsv(text, path);
}

void WritePointTableCsv(const std::string& path, const PositionTable& table) {
    WriteFileSafely(path, PointTableCsv(table));
}

} // namespace scorewell
