#include "scoring/Scoring.h"

#include <vector>

#include "common/Text.h"
#include "data/ConfinedSql.h"
#include "data/Drivers.h"

namespace scorewell {

namespace {

// Scoring statements are written once, against the staging tables; for a stored race every
// "STN" is taken out, which turns STNStats, STNRaceID and STNStatsID into Stats, RaceID, StatsID.
std::string ForTables(std::string_view statement, bool staging) {
    return staging ? std::string(statement) : ReplaceAll(statement, "STN", "");
}

Value PointsOrZero(const Value& v) {
    return v.IsNull() ? Value(0) : v;
}

} // namespace

int DetectPointGap(Database& league, std::int32_t raceKey, bool staging) {
    Cursor rows = league.Query(
        ForTables("SELECT Points FROM STNStats WHERE STNRaceID=? ORDER BY Points DESC", staging),
        {Value(raceKey)});
    if (rows.AtEnd()) {
        return -1;
    }
    // Distinct gaps in the order first seen, with a count each; the gap 0 is there from the
    // start with no count, so it wins ties against every gap seen later.
    std::vector<std::pair<std::int64_t, int>> gaps = {{0, 0}};
    std::int64_t previous = 0;
    for (; !rows.AtEnd(); rows.MoveNext()) {
        std::int64_t points = rows.Field(0).AsInteger();
        if (previous > 0) {
            std::int64_t gap = previous - points;
            bool found = false;
            for (auto& [value, count] : gaps) {
                if (value == gap) {
                    ++count;
                    found = true;
                    break;
                }
            }
            if (!found) {
                gaps.emplace_back(gap, 1);
            }
        }
        previous = points;
    }
    std::size_t best = 0;
    for (std::size_t i = 1; i < gaps.size(); ++i) {
        if (gaps[i].second > gaps[best].second) {
            best = i;
        }
    }
    std::int64_t gap = gaps[best].first;
    return gap >= 1 && gap <= 3 ? static_cast<int>(gap) : -1;
}

PositionScore ScorePosition(const PointTable& table, int position, int column,
                            bool useCustomPointSystem) {
    PositionScore score{Value(0), Value()};
    if (position >= 1 && position <= table.Positions()) {
        score.points = PointsOrZero(table.At(position, column));
        if (useCustomPointSystem) {
            score.prizeMoney = table.At(position, 1);
        }
    }
    return score;
}

void ApplyBonusPoints(League& league, Simulation simTitle, std::int32_t raceKey, bool staging) {
    Database& db = league.Db();
    const std::string key = std::to_string(raceKey);
    Transaction t(db);
    if (league.Settings().useCustomBonusSystem) {
        ResultSet rules = db.QueryAll("SELECT BonusID, Name, Points, Query FROM Bonus "
                                      "ORDER BY BonusID");
        for (const auto& rule : rules.rows) {
            const std::string points = std::to_string(rule[2].AsInteger());
            const std::string label = "The bonus rule \"" + rule[1].AsText() + "\"";
            const std::string condition = ReplaceAll(rule[3].AsText(), "<RACEID>", key);
            // A condition that closes the parenthesis around it would score other races too.
            if (!KeepsWithinParentheses(condition)) {
                throw ConfinedSqlError(label + " is refused: its condition reaches beyond its "
                                               "own race.");
            }
            const std::string statement =
                ForTables("UPDATE STNStats SET Bonus=Bonus+" + points + ", Points=Points+" +
                              points + " WHERE (STNRaceID=" + key + ") AND (" + condition + ")",
                          staging);
            RunBonusRule(db, label, statement, ForTables("STNStats", staging));
        }
    } else if (simTitle != Simulation::NascarLegends) {
        // NASCAR Legends gives no bonus; the others 5 for leading a lap and 5 more for leading
        // the most laps, every tied driver included.
        db.Execute(ForTables("UPDATE STNStats SET Bonus=Bonus+5, Points=Points+5 "
                             "WHERE (STNRaceID=" +
                                 key + ") AND (LapsLed > 0)",
                             staging));
        db.Execute(ForTables("UPDATE STNStats SET Bonus=Bonus+5, Points=Points+5 "
                             "WHERE (STNRaceID=" +
                                 key +
                                 ") AND (LapsLed=(SELECT Max(LapsLed) "
                                 "FROM STNStats WHERE STNRaceID=" +
                                 key + "))",
                             staging));
    }
    t.Commit();
}

void RecalculateRace(League& league, std::int32_t raceKey, bool staging) {
    Database& db = league.Db();
    const WorkingSettings& settings = league.Settings();
    Transaction t(db);

    int column = 0;
    if (settings.simTitle == Simulation::NascarLegends && !settings.useCustomPointSystem) {
        column = std::max(0, DetectPointGap(db, raceKey, staging));
    }
    PointTable table = league.LoadPointTable();

    // The fastest qualifier starts first; equal speeds keep their old order; no speed goes last.
    ResultSet starts = db.QueryAll(ForTables("SELECT STNStatsID FROM STNStats WHERE STNRaceID=? "
                                             "ORDER BY Qualifying DESC, Start, STNStatsID",
                                             staging),
                                   {Value(raceKey)});
    const std::string setStart =
        ForTables("UPDATE STNStats SET Start=? WHERE STNStatsID=?", staging);
    int position = 0;
    for (const auto& row : starts.rows) {
        db.Execute(setStart, {Value(++position), row[0]});
    }

    ResultSet finishes = db.QueryAll(ForTables("SELECT STNStatsID FROM STNStats "
                                               "WHERE STNRaceID=? ORDER BY Finish, STNStatsID",
                                               staging),
                                     {Value(raceKey)});
    const std::string setFinish = ForTables("UPDATE STNStats SET Finish=?, Points=?, Bonus=0, "
                                            "PrizeMoney=? WHERE STNStatsID=?",
                                            staging);
    position = 0;
    for (const auto& row : finishes.rows) {
        ++position;
        PositionScore score = ScorePosition(table, position, column, settings.useCustomPointSystem);
        db.Execute(setFinish, {Value(position), score.points, score.prizeMoney, row[0]});
    }

    ApplyBonusPoints(league, settings.simTitle, raceKey, staging);
    t.Commit();
}

} // namespace scorewell
