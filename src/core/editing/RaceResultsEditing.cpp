#include "editing/RaceResultsEditing.h"

#include <optional>

#include "common/Errors.h"
#include "common/Format.h"
#include "common/Formatting.h"
#include "common/Numbers.h"
#include "common/Text.h"
#include "data/RaceList.h"
#include "data/Settings.h"
#include "scoring/Scoring.h"

namespace scorewell {

namespace {

std::optional<double> SpeedOf(const Value& value) {
    if (value.IsNull() || (value.IsText() && Trim(value.Text()).empty())) {
        return std::nullopt;
    }
    return value.IsText() ? LeadingNumber(value.Text()) : value.AsDouble();
}

} // namespace

void RecalculateEditedRace(League& league, RaceSource source, std::int32_t raceId) {
    const std::string failure = "The race could not be recalculated";
    try {
        Transaction t(league.Db());
        RecalculateRace(league, raceId, source == RaceSource::Staged);
        t.Commit();
    } catch (const DbError& e) {
        throw ScorewellError(failure + ": " + PlainReason(e) + ".");
    } catch (const RuleError& e) {
        throw ScorewellError(failure + ": " + e.what());
    }
}

RaceLabels RaceLabelTexts(const RaceSummary& race, bool offline,
                          std::string_view decimalSeparator) {
    RaceLabels labels;
    labels.caption = "Race Results - " + NullToText(race.fileName, "");
    labels.trackName = NullToText(race.name, "");
    if (!race.length.IsNull()) {
        labels.trackLength = FormatValue(race.length, "0.000", decimalSeparator) + " miles";
    }
    labels.laps = NullToText(race.laps, "");
    const std::string miles = RaceMilesText(race.length, race.laps);
    if (!miles.empty()) {
        labels.laps += " (" + miles + " miles)";
    }
    labels.weather = NullToText(race.weather, "");
    if (offline) {
        labels.raceTime = labels.avgSpeed = labels.margin = labels.cautions = labels.leadChanges =
            "---";
    } else {
        labels.raceTime = NullToText(race.raceTime, "");
        labels.avgSpeed = NullToText(race.avgSpeed, "");
        labels.margin = NullToText(race.victoryMargin, "");
        labels.cautions = NullToText(race.cautions, "");
        labels.leadChanges = race.leadChanges.IsNull() ? "---" : NullToText(race.leadChanges, "");
    }
    return labels;
}

std::array<std::string, kResultColumns> ResultCells(const ResultLine& line, float trackLength,
                                                    LapReportingMethod lapReportingMethod,
                                                    std::string_view decimalSeparator) {
    return {
        NullToText(line.finish, ""),
        NullToText(line.start, ""),
        line.name,
        NullToText(line.lapsRun, ""),
        NullToText(line.lapsLed, ""),
        NullToText(line.points, ""),
        NullToText(line.bonus, ""),
        FormatQualifying(SpeedOf(line.avgSpeed), trackLength, lapReportingMethod, decimalSeparator),
        FormatQualifying(SpeedOf(line.qualifying), trackLength, lapReportingMethod,
                         decimalSeparator),
        NullToText(line.reasonOut, ""),
        line.excluded ? "True" : "False"};
}

} // namespace scorewell
