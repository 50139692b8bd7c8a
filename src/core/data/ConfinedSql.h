#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "data/Database.h"

namespace scorewell {

// SQL that is data — bonus conditions, rank criteria, report queries — travels inside league
// files and program databases that users pass around. It runs confined: one statement only,
// reading the league's tables and, for a bonus rule, changing Points and Bonus of one results
// table, nothing else, within a time limit. A league file from someone else can score its own
// results and no more.

// Refusal of confined SQL; the message names the rule or report and the reason.
class ConfinedSqlError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

constexpr std::chrono::milliseconds kConfinedTimeLimit{10000};

// Runs a bonus rule's UPDATE statement. label names it for the messages ("The bonus rule
// \"Pole\""); resultsTable is the one table it may change (STNStats or Stats).
void RunBonusRule(Database& db, const std::string& label, const std::string& statement,
                  std::string_view resultsTable,
                  std::chrono::milliseconds limit = kConfinedTimeLimit);

// Runs a query that may only read (a report, a ranking); gives all its rows.
ResultSet RunConfinedQuery(Database& db, const std::string& label, const std::string& query,
                           std::chrono::milliseconds limit = kConfinedTimeLimit);

} // namespace scorewell
