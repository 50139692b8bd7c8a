#include "import/OfflineMerge.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "common/Domain.h"
#include "common/Errors.h"
#include "common/Numbers.h"
#include "common/Text.h"
#include "data/ConfinedSql.h"
#include "data/Drivers.h"
#include "data/RankCriteria.h"
#include "scoring/Scoring.h"

namespace scorewell {

namespace {

// Ties on every criterion: the better place in his own race, then the file staged first, then
// the line that comes first.
constexpr const char* kFinishTieBreak = "Finish, STNRaceID, STNStatsID";

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

bool Blank(const Value& value) {
    return value.IsNull() || (value.IsText() && Trim(value.Text()).empty());
}

// A blank staged text goes into a race as no value at all.
Value Literal(const Value& value) {
    return Blank(value) ? Value() : value;
}

// The STNStatsIDs of the merged field in finishing order: the league's rank criteria, first key
// first, then the tie-break. Criteria are SQL that came with the league: each runs confined, and
// one that would leave results out of the order is refused.
std::vector<Value> FinishingOrder(Database& db, int fieldSize) {
    std::string terms;
    for (const RankCriterion& criterion : LoadRankCriteria(db)) {
        const std::string label = "The rank criterion " + Quoted(criterion.name);
        if (Trim(criterion.query).empty()) {
            throw ConfinedSqlError(label + " is refused: it has no sort order.");
        }
        if (!KeepsWithinParentheses(criterion.query)) {
            throw ConfinedSqlError(label + " is refused: it reaches beyond its own sort order.");
        }
        // Prepared on its own first, so that a criterion that cannot run is named.
        ConfinedStatement check(db, label,
                                "SELECT STNStatsID FROM STNStats ORDER BY " + criterion.query +
                                    ", STNStatsID");
        terms += criterion.query + ", ";
    }
    const ResultSet order =
        RunConfinedQuery(db, "The rank criteria",
                         "SELECT STNStatsID FROM STNStats ORDER BY " + terms + kFinishTieBreak);
    if (static_cast<int>(order.rows.size()) != fieldSize) {
        throw ConfinedSqlError("The rank criteria are refused: they leave drivers out of the "
                               "finishing order.");
    }
    std::vector<Value> ids;
    ids.reserve(order.rows.size());
    for (const auto& row : order.rows) {
        ids.push_back(row[0]);
    }
    return ids;
}

} // namespace

MergeOutcome MergeStagedRaces(League& league, const PointTable& pointTable,
                              const ImportProgress& progress) {
    Database& db = league.Db();
    const WorkingSettings& settings = league.Settings();
    try {
        Transaction t(db);
        const ResultSet races = db.QueryAll("SELECT STNRaceID, FileName, AvgSpeed, Name, Length, "
                                            "Laps, Weather FROM STNRace ORDER BY STNRaceID");
        for (const auto& race : races.rows) {
            if (auto problem =
                    StagedRaceProblem(league, static_cast<std::int32_t>(race[0].AsInteger()))) {
                const std::string place = race[1].IsNull() ? "the staged race " + race[0].AsText()
                                                           : Quoted(race[1].AsText());
                throw ScorewellError("In " + place + ", " + *problem + ".");
            }
        }

        // A name in more than one file is a computer car's.
        const ResultSet staged = db.QueryAll("SELECT STNStatsID, DriverName FROM STNStats");
        std::vector<std::string> keys;
        std::unordered_map<std::string, int> files;
        for (const auto& row : staged.rows) {
            keys.push_back(DriverNameKey(row[1].AsText()));
            ++files[keys.back()];
        }
        std::string computerCars;
        int fieldSize = 0;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (files[keys[i]] == 1) {
                ++fieldSize;
            } else {
                computerCars += (computerCars.empty() ? "" : ",") + staged.rows[i][0].AsText();
            }
        }
        if (fieldSize == 0) {
            return {};
        }

        // The scale a NASCAR Legends race was scored with shows in the first file's points, which
        // must be read before its computer cars go.
        const std::int32_t firstRace = static_cast<std::int32_t>(races.rows[0][0].AsInteger());
        int column = 0;
        if (static_cast<Simulation>(settings.simTitle) == Simulation::NascarLegends &&
            !settings.useCustomPointSystem) {
            column = std::max(0, DetectPointGap(db, firstRace, true));
        }

        db.Execute("DELETE FROM STNStats WHERE STNStatsID IN (SELECT value FROM json_each(?))",
                   {Value("[" + computerCars + "]")});

        // Each member keeps the average speed of his own race.
        const std::string& separator = league.GetProgram().DecimalSeparator();
        for (const auto& race : races.rows) {
            const Value speed =
                Blank(race[2])
                    ? Value()
                    : Value(ToSingle(LeadingNumber(ReplaceAll(race[2].AsText(), separator, "."))));
            db.Execute("UPDATE STNStats SET AvgSpeed=? WHERE STNRaceID=?", {speed, race[0]});
        }

        const int total = 3 * fieldSize;
        int done = 0;
        auto advance = [&] {
            if (progress) {
                progress(++done, total);
            }
        };
        if (progress) {
            progress(0, total);
        }

        // The fastest qualifier starts first; a result without qualifying speed starts last.
        const ResultSet starts = db.QueryAll("SELECT STNStatsID, STNRaceID FROM STNStats "
                                             "ORDER BY Qualifying DESC, Start, STNRaceID, "
                                             "STNStatsID");
        Statement setStart(db, "UPDATE STNStats SET Start=?, Bonus=0 WHERE STNStatsID=?");
        int position = 0;
        for (const auto& row : starts.rows) {
            setStart.Run({Value(++position), row[0]});
            advance();
        }
        const Value mergedRace = starts.rows.back()[1];

        Statement setFinish(db, "UPDATE STNStats SET STNRaceID=?, Finish=?, Points=?, "
                                "PrizeMoney=? WHERE STNStatsID=?");
        position = 0;
        for (const Value& id : FinishingOrder(db, fieldSize)) {
            ++position;
            const PositionScore score =
                ScorePosition(pointTable, position, column, settings.useCustomPointSystem);
            setFinish.Run({mergedRace, Value(position), score.points, score.prizeMoney, id});
            advance();
        }
        ApplyBonusPoints(league, settings.simTitle,
                         static_cast<std::int32_t>(mergedRace.AsInteger()), true);

        const auto& first = races.rows[0];
        db.Execute("INSERT INTO Race (Name, FileName, Length, Laps, Weather) "
                   "VALUES (?, 'Merged', ?, ?, ?)",
                   {Literal(first[3]), first[4], first[5], Literal(first[6])});
        MergeOutcome outcome{true, static_cast<std::int32_t>(db.LastInsertRowId()), fieldSize,
                             first[3].IsNull() ? std::string() : first[3].AsText()};

        Statement results(db, "SELECT DriverName, Start, Finish, LapsRun, LapsLed, ReasonOut, "
                              "Points, Bonus, PrizeMoney, Qualifying, AvgSpeed FROM STNStats "
                              "WHERE STNRaceID=? ORDER BY Finish");
        Statement insertResult(db, "INSERT INTO Stats (RaceID, DriverID, Start, Finish, LapsRun, "
                                   "LapsLed, Status, Points, Bonus, PrizeMoney, Qualifying, "
                                   "AvgSpeed) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)");
        results.Bind(1, mergedRace);
        while (results.Step()) {
            const Value avgSpeed = results.Column(10);
            insertResult.Run(
                {Value(outcome.raceId), Value(GetDriverID(db, results.Column(0).AsText())),
                 results.Column(1), results.Column(2), results.Column(3), results.Column(4),
                 Literal(results.Column(5)), results.Column(6), results.Column(7),
                 results.Column(8), results.Column(9),
                 avgSpeed.IsNull() ? Value() : Value(GeneralNumberText(avgSpeed.AsDouble()))});
            advance();
        }
        t.Commit();
        return outcome;
    } catch (const DbError& e) {
        throw ScorewellError("The staged races could not be merged into \"" + league.Path() +
                             "\": " + PlainReason(e) + ".");
    }
}

} // namespace scorewell
