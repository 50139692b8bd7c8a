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

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
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
        // The drivers of the race being copied, with the name each came under.
        std::unordered_map<std::int32_t, std::string> raceDrivers;
        static constexpr std::array<const char*, 6> kWholeNumbers = {
            "start position", "finishing position", "laps run", "laps led", "points", "bonus"};

        int done = 0;
        int imported = 0;
        while (races.Step()) {
            const Value fileName = races.Column(1);
            place = fileName.IsNull() ? "the staged race " + races.Column(0).AsText()
                                      : Quoted(fileName.AsText());
            insertRace.Run({Literal(races.Column(2)), Literal(fileName), Literal(races.Column(3)),
                            Literal(races.Column(4)), Literal(races.Column(5)),
                            Literal(races.Column(6)), Literal(races.Column(7)),
                            Literal(races.Column(8)), Literal(races.Column(9)),
                            Literal(races.Column(10))});
            const Value raceId(static_cast<long long>(db.LastInsertRowId()));

            results.Reset();
            results.Bind(1, races.Column(0));
            raceDrivers.clear();
            while (results.Step()) {
                const Value name = results.Column(0);
                // These went into the statement unquoted: an empty one made it invalid.
                for (std::size_t i = 0; i < kWholeNumbers.size(); ++i) {
                    if (results.Column(static_cast<int>(i) + 1).IsNull()) {
                        throw ScorewellError("The staged result of " + Quoted(name.AsText()) +
                                             " in " + place + " has no " + kWholeNumbers[i] + ".");
                    }
                }
                if (!name.IsText()) {
                    throw ScorewellError("A staged result in " + place + " has no driver name.");
                }
                std::string key = DriverNameKey(name.Text());
                auto found = driverIds.find(key);
                if (found == driverIds.end()) {
                    found = driverIds.emplace(std::move(key), GetDriverID(db, name.Text())).first;
                }
                const std::int32_t driverId = found->second;
                // A race edited after it was staged may name one driver twice.
                if (const auto [other, added] = raceDrivers.emplace(driverId, name.Text());
                    !added) {
                    throw ScorewellError("The staged race " + place + " lists the driver " +
                                         Quoted(other->second) + " twice (also as " +
                                         Quoted(name.Text()) +
                                         "). Remove one of the two results and import again.");
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
