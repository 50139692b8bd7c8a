#include "import/StagedImport.h"

#include <array>
#include <unordered_map>
#include <vector>

#include "common/Errors.h"
#include "common/Text.h"
#include "data/Drivers.h"
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

// The staged results' name keys as a JSON object by STNStatsID: SQL cannot fold a name, so a
// query compares drivers' keys with these.
std::string StagedNameKeys(Database& db, std::int32_t stnRaceId) {
    std::string json;
    for (Cursor c = db.Query("SELECT STNStatsID, DriverName FROM STNStats "
                             "WHERE STNRaceID=? AND DriverName IS NOT NULL",
                             {Value(stnRaceId)});
         !c.AtEnd(); c.MoveNext()) {
        json += json.empty() ? "{\"" : ",\"";
        json += c.Field(0).AsText() + "\":\"";
        for (const char ch : DriverNameKey(c.Field(1).AsText())) {
            if (ch == '"' || ch == '\\') {
                json += '\\';
                json += ch;
            } else if (static_cast<unsigned char>(ch) < 0x20) {
                static constexpr char kHex[] = "0123456789abcdef";
                json += "\\u00";
                json += kHex[(ch >> 4) & 0xF];
                json += kHex[ch & 0xF];
            } else {
                json += ch;
            }
        }
        json += '"';
    }
    return json.empty() ? "{}" : json + "}";
}

} // namespace

std::string FileNameTooLong(std::string_view shortName, std::size_t size) {
    return "The file name " + Quoted(Excerpt(shortName)) + " has " +
           std::to_string(CharacterCount(shortName)) + " characters; the league keeps at most " +
           std::to_string(size) + " of a race's file name. Rename the file to at most " +
           std::to_string(size) + " characters and try again.";
}

void ClearStaging(League& league) {
    league.Db().Execute("DELETE FROM STNRace");
}

void RemoveStagedRace(League& league, std::int32_t stnRaceId) {
    league.Db().Execute("DELETE FROM STNRace WHERE STNRaceID=?", {Value(stnRaceId)});
}

std::optional<std::string> StagedRaceProblem(League& league, std::int32_t stnRaceId) {
    // The permanent tables take these as whole numbers: an empty one makes the race unimportable.
    static constexpr std::array<const char*, 6> kWholeNumbers = {
        "start position", "finishing position", "laps run", "laps led", "points", "bonus"};
    Cursor result = league.Db().Query(
        "SELECT DriverName, Finish, Start IS NULL, Finish IS NULL, LapsRun IS NULL, "
        "LapsLed IS NULL, Points IS NULL, Bonus IS NULL FROM STNStats WHERE STNRaceID=? AND "
        "(DriverName IS NULL OR Trim(DriverName)='' OR Start IS NULL OR Finish IS NULL OR "
        "LapsRun IS NULL OR LapsLed IS NULL OR Points IS NULL OR Bonus IS NULL) "
        "ORDER BY STNStatsID LIMIT 1",
        {Value(stnRaceId)});
    if (!result.AtEnd()) {
        const std::string name =
            result.Field(0).IsNull() ? std::string() : result.Field(0).AsText();
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
    }
    // The results editor may have named one driver twice, in any letter case: he would get two
    // results in the race.
    std::unordered_map<std::string, std::string> names; // by DriverNameKey
    for (Cursor c = league.Db().Query(
             "SELECT DriverName FROM STNStats WHERE STNRaceID=? ORDER BY STNStatsID",
             {Value(stnRaceId)});
         !c.AtEnd(); c.MoveNext()) {
        const std::string name = c.Field(0).AsText();
        if (const auto [first, added] = names.emplace(DriverNameKey(name), name); !added) {
            return "the driver " + Quoted(first->second) + " is listed twice (also as " +
                   Quoted(name) + "); remove one of the two results";
        }
    }
    return std::nullopt;
}

std::optional<ImportedRace> FindImportedRace(League& league, std::int32_t stnRaceId) {
    // Names compare as the league compares them, by their keys.
    Cursor race = league.Db().Query(
        "SELECT r.RaceID, r.Name FROM STNRace AS s JOIN Race AS r "
        "ON r.Name IS s.Name AND r.Length IS s.Length AND r.Laps IS s.Laps "
        "WHERE s.STNRaceID = ?1 "
        "AND (SELECT Count(*) FROM Stats WHERE RaceID = r.RaceID) = "
        "(SELECT Count(*) FROM STNStats WHERE STNRaceID = ?1) "
        "AND NOT EXISTS (SELECT 1 FROM STNStats AS t WHERE t.STNRaceID = ?1 AND NOT EXISTS ("
        "SELECT 1 FROM Stats AS x JOIN Driver AS d ON d.DriverID = x.DriverID "
        "WHERE x.RaceID = r.RaceID AND d.NameKey = json_extract(?2, '$.\"' || t.STNStatsID || "
        "'\"') AND x.Finish IS t.Finish "
        "AND x.Start IS t.Start AND x.LapsRun IS t.LapsRun AND x.LapsLed IS t.LapsLed "
        "AND x.Status IS t.ReasonOut)) "
        "ORDER BY r.RaceID LIMIT 1",
        {Value(stnRaceId), Value(StagedNameKeys(league.Db(), stnRaceId))});
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
        // its driver; by DriverNameKey, as the league finds them.
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
                std::string key = DriverNameKey(name);
                auto found = driverIds.find(key);
                if (found == driverIds.end()) {
                    found = driverIds.emplace(std::move(key), GetDriverID(db, name)).first;
                }
                const std::int32_t driverId = found->second;
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
