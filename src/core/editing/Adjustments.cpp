#include "editing/Adjustments.h"

#include <charconv>
#include <limits>
#include <vector>

#include "common/Errors.h"
#include "common/Text.h"
#include "data/Drivers.h"

namespace scorewell {

namespace {

// A reason without its outer white space: typed or pasted, tabs and line breaks are blanks too.
std::string TrimmedReason(const std::string& reason) {
    constexpr const char* kBlanks = " \t\r\n";
    const std::size_t first = reason.find_first_not_of(kBlanks);
    if (first == std::string::npos) {
        return {};
    }
    return reason.substr(first, reason.find_last_not_of(kBlanks) - first + 1);
}

struct CheckedEntry {
    std::int32_t driverId = 0;
    Value raceId;
    std::int32_t points = 0;
    std::string reason;
};

CheckedEntry Check(Database& league, const AdjustmentEntry& entry) {
    CheckedEntry checked;
    const std::string name = Trim(entry.driver);
    if (name.empty()) {
        throw ScorewellError("Name the driver whose points are adjusted.");
    }
    const std::vector<std::int32_t> drivers = FindDriversByName(league, name);
    if (drivers.empty()) {
        throw ScorewellError("The league has no driver named \"" + Excerpt(name) + "\".");
    }
    if (drivers.size() > 1) {
        throw ScorewellError("The name \"" + Excerpt(name) +
                             "\" belongs to more than one driver of the league. Rename one of "
                             "them first.");
    }
    checked.driverId = drivers.front();
    if (entry.raceId) {
        if (league.Scalar("SELECT Count(*) FROM Race WHERE RaceID=?", {Value(*entry.raceId)})
                .AsInteger() == 0) {
            throw ScorewellError("The league has no race number " + std::to_string(*entry.raceId) +
                                 ".");
        }
        checked.raceId = Value(*entry.raceId);
    }
    checked.points = AdjustmentPoints(entry.points);
    checked.reason = TrimmedReason(entry.reason);
    if (checked.reason.empty()) {
        throw ScorewellError("The reason of an adjustment cannot be blank: say why the points "
                             "are given or taken.");
    }
    return checked;
}

void CheckExists(Database& league, std::int32_t adjustmentId) {
    if (league.Scalar("SELECT Count(*) FROM Adjustment WHERE AdjustmentID=?", {Value(adjustmentId)})
            .AsInteger() == 0) {
        throw ScorewellError("The league has no adjustment number " + std::to_string(adjustmentId) +
                             ".");
    }
}

} // namespace

std::int32_t AdjustmentPoints(std::string_view typed) {
    const std::string text = Trim(typed);
    std::string_view digits = text;
    const bool plus = !digits.empty() && digits.front() == '+';
    if (plus) {
        digits.remove_prefix(1);
    }
    long long value = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    const bool whole =
        !digits.empty() && !(plus && digits.front() == '-') && error == std::errc() && stop == end;
    if (!whole || value == 0 || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        throw ScorewellError("The points of an adjustment are a whole number other than 0, "
                             "such as -25 or 10; \"" +
                             Excerpt(text) + "\" is not.");
    }
    return static_cast<std::int32_t>(value);
}

std::int32_t AddAdjustment(Database& league, const AdjustmentEntry& entry) {
    Transaction t(league);
    const CheckedEntry checked = Check(league, entry);
    league.Execute(
        "INSERT INTO Adjustment (DriverID, RaceID, Points, Reason, Entered) "
        "VALUES (?, ?, ?, ?, date('now', 'localtime'))",
        {Value(checked.driverId), checked.raceId, Value(checked.points), Value(checked.reason)});
    const auto id = static_cast<std::int32_t>(league.LastInsertRowId());
    t.Commit();
    return id;
}

void EditAdjustment(Database& league, std::int32_t adjustmentId, const AdjustmentEntry& entry) {
    Transaction t(league);
    CheckExists(league, adjustmentId);
    const CheckedEntry checked = Check(league, entry);
    league.Execute("UPDATE Adjustment SET DriverID=?, RaceID=?, Points=?, Reason=? "
                   "WHERE AdjustmentID=?",
                   {Value(checked.driverId), checked.raceId, Value(checked.points),
                    Value(checked.reason), Value(adjustmentId)});
    t.Commit();
}

void RemoveAdjustment(Database& league, std::int32_t adjustmentId) {
    Transaction t(league);
    CheckExists(league, adjustmentId);
    league.Execute("DELETE FROM Adjustment WHERE AdjustmentID=?", {Value(adjustmentId)});
    t.Commit();
}

} // namespace scorewell
