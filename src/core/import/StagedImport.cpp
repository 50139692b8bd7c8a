#include "import/StagedImport.h"

#include <array>
#include <unordered_map>
#include <vector>

#include "common/Errors.h"
#include "common/Text.h"
#include "scoring/Scoring.h"

namespace scorewell {

namespace {

// The staged values went into the permanent tables as SQL literals, where a blank text is NULL.
Value Literal(Value value) {
    if (value.IsText() && Trim(value.Text()).empty()) {
        return Value();
    }
    return value;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

void ClearStaging(League& league) {
    league.Db().Execute("DELETE FROM STNRace");
}

void RemoveStagedRace(League& league, std::int32_t stnRaceId) {
    league.Db().Execute("DELETE FROM STNRace WHERE STNRaceID=?", {Value(stnRaceId)});
}

std::optional<std::string> StagedRaceProblem(League& league, std::int32_t stnRaceId) {
    // These went into the permanent tables' statements unquoted: an empty one made them invalid.
    static constexpr std::array<const char*, 6> kWholeNumbers = {
        "start position", "finishing position", "laps run", "laps led", "points", "bonus"};
    Cursor result = league.Db().Query(
        "SELECT DriverName, Finish, Start IS NULL, Finish IS NULL, LapsRun IS NULL, "
        "LapsLed IS NULL, Points IS NULL, Bonus IS NULL FROM STNStats WHERE STNRaceID=? AND "
        "(DriverName IS NULL OR Trim(DriverName)='' OR Start IS NULL OR Finish IS NULL OR "
        "LapsRun IS NULL OR LapsLed IS NULL OR Points IS NULL OR Bonus IS NULL) "
        "ORDER BY STNStatsID LIMIT 1",
        {Value(stnRaceId)});
    if (result.AtEnd()) {
        return std::nullopt;
    }
    const std::string name = result.Field(0).IsNull() ? std::string() : result.Field(0).AsText();
    if (Trim(name).empty()) {
        const Value finish = result.Field(1);
        return (finish.IsNull() ? std::string("a result")
                                : "the result in position " + finish.AsText()) +
               " has no driver name";
    }
    for (std::size_t i = 0; i < kWholeNumbers.size(); ++i) {
        if (result.Field(static_cast<int>(i) + 2).AsInteger() != 0) {
            return "the result of " + Quoted(name) + " has no " + kWholeNumbers[i];
        }
    }
    return std::nullopt;
}

std::optional<ImportedRace> FindImportedRace(League& league, std::int32_t stnRaceId) {
    // Names compare as the league compares them, without regard to letter case.
    Cursor race = league.Db().Query(
        "SELECT r.RaceID, r.Name FROM STNRace AS s JOIN Race AS r "
        "ON r.Name IS s.Name AND r.Length IS s.Length AND r.Laps IS s.Laps "
        "WHERE s.STNRaceID = ?1 "
        "AND (SELECT Count(*) FROM Stats WHERE RaceID = r.RaceID) = "
        "(SELECT Count(*) FROM STNStats WHERE STNRaceID = ?1) "
        "AND NOT EXISTS (SELECT 1 FROM STNStats AS t WHERE t.STNRaceID = ?1 AND NOT EXISTS ("
        "SELECT 1 FROM Stats AS x JOIN Driver AS d ON d.DriverID = x.DriverID "
        "WHERE x.RaceID = r.RaceID AND d.Name = t.DriverName AND x.Finish IS t.Finish "
        "AND x.Start IS t.Start AND x.LapsRun IS t.LapsRun AND x.LapsLed IS t.LapsLed "
        "AND x.Status IS t.ReasonOut)) "
        "ORDER BY r.RaceID LIMIT 1",
        {Value(stnRaceId)});
    if (race.AtEnd()) {
        return std::nullopt;
    }
    return ImportedRace{static_cast<std::int32_t>(race.Field(0).AsInteger()),
                        race.Field(1).IsNull() ? std::string() : race.Field(1).AsText()};
}

int ImportStagedRaces(League& league, const ImportProgress& progress) {
    Database& db = league.Db();
    std::string place; // the staged race being copied, for the message
    try {
        Transaction t(db);
        const int total =
            static_cast<int>(db.Scalar("SELECT Count(STNStatsID) FROM STNStats").AsInteger());
        if (progress) {
            progress(0, total);
        }

        Statement races(db, "SELECT STNRaceID, FileName, Name, Length, Laps, RaceTime, AvgSpeed, "
                            "VictoryMargin, Cautions, LeadChanges, Weather FROM STNRace "
                            "ORDER BY STNRaceID");
        Statement results(db, "SELECT DriverName, Start, Finish, LapsRun, LapsLed, Points, Bonus, "
                              "ReasonOut, PrizeMoney, Qualifying FROM STNStats "
                              "WHERE STNRaceID=? ORDER BY STNStatsID");
        Statement insertRace(db, "INSERT INTO Race (Name, FileName, Length, Laps, RaceTime, "
                                 "AvgSpeed, VictoryMargin, Cautions, LeadChanges, Weather) "
                                 "VALUES (?,?,?,?,?,?,?,?,?,?)");
        Statement insertResult(db, "INSERT INTO Stats (RaceID, DriverID, Start, Finish, LapsRun, "
                                   "LapsLed, Status, Points, Bonus, PrizeMoney, Qualifying) "
                                   "VALUES (?,?,?,?,?,?,?,?,?,?,?)");

        // Within this one transaction drivers are only added, so a name once looked up keeps
        // its driver.
        std::unordered_map<std::string, std::int32_t> driverIds;

        int done = 0;
        int imported = 0;
        while (races.Step()) {
            const Value fileName = races.Column(1);
            place = fileName.IsNull() ? "the staged race " + races.Column(0).AsText()
                                      : Quoted(fileName.AsText());
            const auto stnRaceId = static_cast<std::int32_t>(races.Column(0).AsInteger());
            if (auto problem = StagedRaceProblem(league, stnRaceId)) {
                throw ScorewellError("In " + place + ", " + *problem + ".");
            }
            insertRace.Run({Literal(races.Column(2)), Literal(fileName), Literal(races.Column(3)),
                            Literal(races.Column(4)), Literal(races.Column(5)),
                            Literal(races.Column(6)), Literal(races.Column(7)),
                            Literal(races.Column(8)), Literal(races.Column(9)),
                            Literal(races.Column(10))});
            const Value raceId(static_cast<long long>(db.LastInsertRowId()));

            results.Reset();
            results.Bind(1, races.Column(0));
            while (results.Step()) {
                const std::string name = results.Column(0).AsText();
                std::int32_t driverId = 0;
                if (auto found = driverIds.find(name); found != driverIds.end()) {
                    driverId = found->second;
                } else {
                    driverId = GetDriverID(db, name);
                    driverIds.emplace(name, driverId);
                }
                insertResult.Run({raceId, Value(driverId), results.Column(1), results.Column(2),
                                  results.Column(3), results.Column(4), Literal(results.Column(7)),
                                  results.Column(5), results.Column(6), Literal(results.Column(8)),
                                  Literal(results.Column(9))});
                ++done;
                if (progress) {
                    progress(done, total);
                }
            }
            ++imported;
        }
        t.Commit();
        return imported;
    } catch (const DbError& e) {
        throw ScorewellError("The staged races could not be imported into \"" + league.Path() +
                             "\"" + (place.empty() ? std::string() : " (at " + place + ")") + ": " +
                             PlainReason(e) + ".");
    }
}

} // namespace scorewell
