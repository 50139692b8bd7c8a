#include "import/StageFiles.h"

#include "common/Errors.h"
#include "import/ExportedStandings.h"
#include "import/RaceFinal.h"

namespace scorewell {

std::string ReadFailureTitle(Simulation simType, const std::string& fileName) {
    return simType == Simulation::NascarRacing4 ? "Failed to Read Import File"
                                                : "Error Reading '" + fileName + "'";
}

std::vector<StagingResult> StageResultFiles(League& league, const PointTable& pointTable,
                                            const std::vector<std::string>& files,
                                            Simulation simType,
                                            LapReportingMethod lapReportingMethod,
                                            const StageFilesProgress& progress) {
    std::vector<StagingResult> results;
    try {
        // Each reader stages its file under a savepoint of this transaction, so a bad file
        // takes back only its own rows.
        Transaction t(league.Db());
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (progress.reading) {
                progress.reading(i);
            }
            auto refused = [&](const std::string& reason) {
                StagingResult failure;
                failure.title = ReadFailureTitle(simType, files[i]);
                failure.message =
                    simType == Simulation::NascarRacing4 ? files[i] + "\n" + reason : reason;
                return failure;
            };
            StagingResult result;
            try {
                result =
                    simType == Simulation::NascarRacing4
                        ? ImportExportedStandings(league, pointTable, files[i])
                        : ImportSTNFile(league, pointTable, files[i], simType, lapReportingMethod);
            } catch (const TransactionLost&) {
                throw;
            } catch (const std::exception& e) {
                result = refused(e.what());
            }
            // A race that could be staged but not imported would stop the import of every file
            // listed with it: it fails here, alone.
            if (result.Staged()) {
                if (auto problem = StagedRaceProblem(league, result.stnRaceId)) {
                    RemoveStagedRace(league, result.stnRaceId);
                    result = refused("The race cannot be imported: " + *problem + ".");
                }
            }
            if (progress.read) {
                progress.read(i, result);
            }
            results.push_back(std::move(result));
        }
        t.Commit();
    } catch (const DbError& e) {
        throw ScorewellError("The files could not be staged in \"" + league.Path() +
                             "\": " + PlainReason(e) + ".");
    }
    return results;
}

void RemoveStagedRaces(League& league, const std::vector<std::int32_t>& stnRaceIds) {
    try {
        Transaction t(league.Db());
        for (std::int32_t id : stnRaceIds) {
            RemoveStagedRace(league, id);
        }
        t.Commit();
    } catch (const DbError& e) {
        throw ScorewellError("The files could not be taken off the list: " + PlainReason(e) + ".");
    }
}

} // namespace scorewell
