#include "import/ExportedStandings.h"

#include "common/Errors.h"
#include "common/Numbers.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "data/ConfinedSql.h"
#include "data/SimulationFolders.h"
#include "import/HTMLParser.h"
#include "import/Tracks.h"
#include "scoring/Scoring.h"

namespace scorewell {

namespace {

constexpr const char* kTitle = "Failed to Read Import File";
constexpr std::size_t kFileNameSize = 50;

// A text of the page for a text field: blank is no value; longer than the field is refused.
Value TextField(const std::string& text, std::size_t size, const char* what) {
    if (Trim(text).empty()) {
        return Value();
    }
    if (CharacterCount(text) > size) {
        throw ScorewellError("The " + std::string(what) + " \"" + Excerpt(text) +
                             "\" is longer than " + std::to_string(size) + " characters.");
    }
    return Value(text);
}

} // namespace

StagingResult ImportExportedStandings(League& league, const PointTable& table,
                                      const std::string& fileName) {
    StagingResult result;
    Program& program = league.GetProgram();
    const std::string& separator = program.DecimalSeparator();

    CHTMLParser parser;
    parser.InputFile = fileName;
    parser.TrackList = &TrackCatalogue(program);
    parser.TracksFolder = JoinPath(
        program
            .SimPath()[static_cast<std::size_t>(SimulationFolderIndex(Simulation::NascarRacing4))],
        "tracks");
    parser.DecimalSeparator = separator;
    if (!parser.Execute()) {
        result.title = kTitle;
        result.message = fileName + "\n" + parser.ErrMsg();
        return result;
    }

    Database& db = league.Db();
    try {
        Transaction t(db);
        const CRaceInfo& race = parser.Race();
        if (CharacterCount(race.FileName) > kFileNameSize) {
            throw ScorewellError(FileNameTooLong(race.FileName, kFileNameSize));
        }
        Value cautions;
        if (!Trim(race.Cautions).empty()) {
            auto number = StrictInteger(race.Cautions);
            if (!number || *number < -32768 || *number > 32767) {
                throw ScorewellError("The number of caution flags \"" + Excerpt(race.Cautions) +
                                     "\" is not a whole number.");
            }
            cautions = Value(*number);
        }
        db.Execute(
            "INSERT INTO STNRace (Name, FileName, Length, Laps, RaceTime, AvgSpeed, "
            "VictoryMargin, Cautions, LeadChanges, Weather) "
            "VALUES (?,?,?,?,?,?,?,?,NULL,?)",
            {TextField(race.Name, 50, "track name"),
             TextField(race.FileName, kFileNameSize, "file name"), Value(race.Length),
             Value(static_cast<int>(race.Laps)),
             TextField(ReplaceAll(race.RaceTime, ".", separator), 15, "race time"),
             TextField(ReplaceAll(race.AvgSpeed, ".", separator), 10, "average speed"),
             TextField(ReplaceAll(race.VictoryMargin, ".", separator), 10, "margin of victory"),
             cautions, TextField(race.Weather, 50, "weather")});
        result.stnRaceId = static_cast<std::int32_t>(db.LastInsertRowId());

        Statement insert(db, "INSERT INTO STNStats (STNRaceID, Finish, Start, DriverName, "
                             "LapsRun, LapsLed, Points, Qualifying, ReasonOut, PrizeMoney, Bonus) "
                             "VALUES (?,?,?,?,?,?,?,?,?,?,0)");
        const bool custom = league.Settings().useCustomPointSystem;
        int finish = 0;
        for (const CDriverInfo& driver : parser.Drivers()) {
            if (IsDriverNameExcluded(db, driver.Name)) {
                continue;
            }
            ++finish;
            PositionScore score = ScorePosition(table, finish, 0, custom);
            insert.Run(
                {Value(result.stnRaceId), Value(finish), Value(static_cast<int>(driver.Start)),
                 TextField(driver.Name, 50, "driver name"), Value(static_cast<int>(driver.LapsRun)),
                 Value(static_cast<int>(driver.LapsLed)), score.points, Value(driver.Qualifying),
                 TextField(driver.ReasonOut, 25, "status"), score.prizeMoney});
        }
        ApplyBonusPoints(league, Simulation::NascarRacing4, result.stnRaceId, true);
        t.Commit();
        result.drivers = finish;
        return result;
    } catch (const TransactionLost&) {
        throw; // the whole action is over, not only this file
    } catch (const std::exception& e) {
        result = StagingResult();
        result.title = kTitle;
        std::string reason = e.what();
        if (const auto* dbError = dynamic_cast<const DbError*>(&e)) {
            reason = PlainReason(*dbError);
        }
        result.message = fileName + "\n" + reason;
        return result;
    }
}

} // namespace scorewell
