#include "data/RaceResults.h"

#include "common/Errors.h"
#include "common/Format.h"
#include "common/Formatting.h"
#include "common/Numbers.h"
#include "common/Text.h"
#include "data/Drivers.h"
#include "data/RaceList.h"

namespace scorewell {

namespace {

bool Staged(RaceSource source) {
    return source == RaceSource::Staged;
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

ResultLine LineOf(const Cursor& c) {
    ResultLine line;
    line.id = static_cast<std::int32_t>(c.Field("ID").AsInteger());
    line.finish = c.Field("Finish");
    line.start = c.Field("Start");
    line.name = c.Field("Name").AsText();
    line.lapsRun = c.Field("LapsRun");
    line.lapsLed = c.Field("LapsLed");
    line.points = c.Field("Points");
    line.bonus = c.Field("Bonus");
    line.avgSpeed = c.Field("AvgSpeed");
    line.qualifying = c.Field("Qualifying");
    line.reasonOut = c.Field("ReasonOut");
    line.excluded = c.Field("Exclude").AsInteger() != 0;
    return line;
}

// Both tables read alike: the staged result names its driver, the stored one points to him.
std::string SelectResults(RaceSource source, const char* where) {
    if (Staged(source)) {
        return std::string("SELECT STNStatsID AS ID, Finish, Start, DriverName AS Name, LapsRun, "
                           "LapsLed, Points, Bonus, AvgSpeed, Qualifying, ReasonOut, Exclude "
                           "FROM STNStats WHERE ") +
               where;
    }
    return std::string("SELECT Stats.StatsID AS ID, Stats.Finish, Stats.Start, Driver.Name, "
                       "Stats.LapsRun, Stats.LapsLed, Stats.Points, Stats.Bonus, Stats.AvgSpeed, "
                       "Stats.Qualifying, Stats.Status AS ReasonOut, Driver.Exclude "
                       "FROM Stats INNER JOIN Driver ON Driver.DriverID=Stats.DriverID WHERE ") +
           where;
}

Value WholeNumber(const std::string& text, const char* what, long long low, long long high) {
    const std::string trimmed = Trim(text);
    if (trimmed.empty()) {
        throw ScorewellError(std::string("The ") + what + " is missing.");
    }
    auto number = StrictNumber(trimmed);
    if (!number || *number != static_cast<double>(static_cast<long long>(*number)) ||
        *number < static_cast<double>(low) || *number > static_cast<double>(high)) {
        throw ScorewellError(std::string("The ") + what + " " + Quoted(trimmed) +
                             " is not a whole number from " + std::to_string(low) + " to " +
                             std::to_string(high) + ".");
    }
    return Value(static_cast<long long>(*number));
}

float Speed(const std::string& text, const char* what) {
    const std::string trimmed = Trim(text);
    auto number = trimmed.empty() ? std::optional<double>() : StrictNumber(trimmed);
    if (!number || *number < 0 || *number > 3.4e38) {
        throw ScorewellError(std::string("The ") + what + " " + Quoted(trimmed) +
                             " is not a number.");
    }
    return ToSingle(*number);
}

struct EntryValues {
    Value finish;
    Value start;
    Value lapsRun;
    Value lapsLed;
    Value reasonOut;
    Value points;
    Value bonus;
    Value qualifying;
    Value avgSpeed;
};

EntryValues ValuesOf(RaceSource source, const ResultEntry& entry) {
    constexpr long long kSmallest = -32768, kLargest = 32767;
    constexpr long long kLongSmallest = -2147483648LL, kLongLargest = 2147483647LL;
    EntryValues v;
    v.finish = WholeNumber(entry.finish, "finishing position", kSmallest, kLargest);
    v.start = WholeNumber(entry.start, "start position", kSmallest, kLargest);
    v.lapsRun = WholeNumber(entry.lapsRun, "number of laps run", kSmallest, kLargest);
    v.lapsLed = WholeNumber(entry.lapsLed, "number of laps led", kSmallest, kLargest);
    if (!Trim(entry.reasonOut).empty()) {
        v.reasonOut = Value(entry.reasonOut);
    }
    v.points = WholeNumber(entry.points, "number of points", kLongSmallest, kLongLargest);
    v.bonus = WholeNumber(entry.bonus, "bonus", kLongSmallest, kLongLargest);
    v.qualifying = Value(Speed(entry.qualifying, "qualifying speed"));
    const float avgSpeed = Speed(entry.avgSpeed, "average speed");
    // A stored race keeps its average speed as the text typed.
    if (Staged(source)) {
        v.avgSpeed = Value(avgSpeed);
    } else {
        v.avgSpeed = Value(Trim(entry.avgSpeed));
    }
    return v;
}

Value DriverName(const ResultEntry& entry) {
    return Value(CheckedDriverName(entry.name));
}

template <class Action>
auto AsOneAction(League& league, const char* failure, Action action) {
    try {
        Transaction t(league.Db());
        auto result = action();
        t.Commit();
        return result;
    } catch (const DbError& e) {
        throw ScorewellError(std::string(failure) + ": " + PlainReason(e) + ".");
    }
}

std::string TextOf(const Value& value) {
    return value.IsNull() ? std::string() : value.AsText();
}

} // namespace

std::optional<RaceSummary> LoadRaceSummary(Database& league, RaceSource source,
                                           std::int32_t raceId) {
    Cursor c = league.Query(
        Staged(source) ? "SELECT Name, FileName, Length, Laps, RaceTime, AvgSpeed, VictoryMargin, "
                         "Cautions, LeadChanges, Weather FROM STNRace WHERE STNRaceID=?"
                       : "SELECT Name, FileName, Length, Laps, RaceTime, AvgSpeed, VictoryMargin, "
                         "Cautions, LeadChanges, Weather FROM Race WHERE RaceID=?",
        {Value(raceId)});
    if (c.AtEnd()) {
        return std::nullopt;
    }
    return RaceSummary{c.Field(0), c.Field(1), c.Field(2), c.Field(3), c.Field(4),
                       c.Field(5), c.Field(6), c.Field(7), c.Field(8), c.Field(9)};
}

std::vector<ResultLine> LoadResultLines(Database& league, RaceSource source, std::int32_t raceId) {
    std::vector<ResultLine> lines;
    const std::string sql =
        SelectResults(source, Staged(source) ? "STNRaceID=? ORDER BY Finish, STNStatsID"
                                             : "Stats.RaceID=? ORDER BY Stats.Finish, "
                                               "Stats.StatsID");
    for (Cursor c = league.Query(sql, {Value(raceId)}); !c.AtEnd(); c.MoveNext()) {
        lines.push_back(LineOf(c));
    }
    return lines;
}

std::optional<ResultLine> LoadResultLine(Database& league, RaceSource source,
                                         std::int32_t resultId) {
    Cursor c =
        league.Query(SelectResults(source, Staged(source) ? "STNStatsID=?" : "Stats.StatsID=?"),
                     {Value(resultId)});
    if (c.AtEnd()) {
        return std::nullopt;
    }
    return LineOf(c);
}

ResultEntry EntryOf(const ResultLine& line) {
    return ResultEntry{TextOf(line.finish),   TextOf(line.start),    line.name,
                       TextOf(line.lapsRun),  TextOf(line.lapsLed),  TextOf(line.points),
                       TextOf(line.bonus),    TextOf(line.avgSpeed), TextOf(line.qualifying),
                       TextOf(line.reasonOut)};
}

std::int32_t AddResult(League& league, RaceSource source, std::int32_t raceId,
                       const ResultEntry& entry) {
    return AsOneAction(league, "The driver's result could not be added", [&] {
        Database& db = league.Db();
        const EntryValues v = ValuesOf(source, entry);
        const Value name = DriverName(entry);
        if (Staged(source)) {
            db.Execute("INSERT INTO STNStats (STNRaceID, DriverName, Finish, Start, LapsRun, "
                       "LapsLed, ReasonOut, Points, Bonus, Qualifying, AvgSpeed) "
                       "VALUES (?,?,?,?,?,?,?,?,?,?,?)",
                       {Value(raceId), name, v.finish, v.start, v.lapsRun, v.lapsLed, v.reasonOut,
                        v.points, v.bonus, v.qualifying, v.avgSpeed});
        } else {
            const Value driverId(GetDriverID(db, name.Text()));
            db.Execute("INSERT INTO Stats (RaceID, DriverID, Finish, Start, LapsRun, LapsLed, "
                       "Status, Points, Bonus, Qualifying, AvgSpeed) "
                       "VALUES (?,?,?,?,?,?,?,?,?,?,?)",
                       {Value(raceId), driverId, v.finish, v.start, v.lapsRun, v.lapsLed,
                        v.reasonOut, v.points, v.bonus, v.qualifying, v.avgSpeed});
        }
        return static_cast<std::int32_t>(db.LastInsertRowId());
    });
}

void UpdateResult(League& league, RaceSource source, std::int32_t resultId,
                  const ResultEntry& entry) {
    AsOneAction(league, "The driver's result could not be saved", [&] {
        Database& db = league.Db();
        const EntryValues v = ValuesOf(source, entry);
        const Value name = DriverName(entry);
        if (Staged(source)) {
            db.Execute("UPDATE STNStats SET DriverName=?, Finish=?, Start=?, LapsRun=?, "
                       "LapsLed=?, ReasonOut=?, Points=?, Bonus=?, Qualifying=?, AvgSpeed=? "
                       "WHERE STNStatsID=?",
                       {name, v.finish, v.start, v.lapsRun, v.lapsLed, v.reasonOut, v.points,
                        v.bonus, v.qualifying, v.avgSpeed, Value(resultId)});
        } else {
            // Another name moves the result to that driver, who may be new.
            const Value driverId(GetDriverID(db, name.Text()));
            db.Execute("UPDATE Stats SET DriverID=?, Finish=?, Start=?, LapsRun=?, LapsLed=?, "
                       "Status=?, Points=?, Bonus=?, Qualifying=?, AvgSpeed=? WHERE StatsID=?",
                       {driverId, v.finish, v.start, v.lapsRun, v.lapsLed, v.reasonOut, v.points,
                        v.bonus, v.qualifying, v.avgSpeed, Value(resultId)});
        }
        return true;
    });
}

void RemoveResults(League& league, RaceSource source, const std::vector<std::int32_t>& resultIds) {
    AsOneAction(league, "The driver results could not be removed", [&] {
        const char* sql = Staged(source) ? "DELETE FROM STNStats WHERE STNStatsID=?"
                                         : "DELETE FROM Stats WHERE StatsID=?";
        for (std::int32_t id : resultIds) {
            if (id != 0) {
                league.Db().Execute(sql, {Value(id)});
            }
        }
        return true;
    });
}

} // namespace scorewell
