#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "common/Errors.h"
#include "data/Database.h"

namespace scorewell {

// SQL that is data — bonus conditions, rank criteria, report queries — travels inside league
// files and program databases that users pass around. It runs confined: one statement only,
// reading the league's tables and, for a bonus rule, changing Points and Bonus of one results
// table, nothing else, within a time limit. A league file from someone else can score its own
// results and no more.

// Refusal of confined SQL; the message names the rule or report and the reason.
class ConfinedSqlError : public ScorewellError {
public:
    using ScorewellError::ScorewellError;
};

constexpr std::chrono::milliseconds kConfinedTimeLimit{10000};

// One statement that came as data, prepared under the rules above and stepped within the time
// limit. label names it in every message ("The report \"Laps Led\"").
class ConfinedStatement {
public:
    // Throws ConfinedSqlError when the text is refused or cannot be prepared. writableTable, when
    // given, is the one table whose Points and Bonus the statement may change; otherwise it may
    // only read.
    ConfinedStatement(Database& db, std::string label, const std::string& sql,
                      std::string_view writableTable = {},
                      std::chrono::milliseconds limit = kConfinedTimeLimit);
    ~ConfinedStatement();
    ConfinedStatement(const ConfinedStatement&) = delete;
    ConfinedStatement& operator=(const ConfinedStatement&) = delete;

    // As Statement::Step; throws ConfinedSqlError naming the label when it fails or runs too long.
    bool Step();
    const Statement& Get() const { return *statement_; }
    // Throws ConfinedSqlError: "<label> cannot run: <reason>."
    [[noreturn]] void Fail(const std::string& reason) const;

    struct Guard;

private:
    Database& db_;
    std::string label_;
    std::chrono::milliseconds limit_;
    std::unique_ptr<Guard> guard_;
    std::optional<Statement> statement_;
};

// True when the text closes every parenthesis it opens and no other (quotes and comments
// aside): set between "(" and ")" it cannot reach the rest of the statement around it.
bool KeepsWithinParentheses(std::string_view expression);

// Runs a bonus rule's UPDATE statement. label names it for the messages ("The bonus rule
// \"Pole\""); resultsTable is the one table it may change (STNStats or Stats).
void RunBonusRule(Database& db, const std::string& label, const std::string& statement,
                  std::string_view resultsTable,
                  std::chrono::milliseconds limit = kConfinedTimeLimit);

// Runs a query that may only read (a report, a ranking); gives all its rows.
ResultSet RunConfinedQuery(Database& db, const std::string& label, const std::string& query,
                           std::chrono::milliseconds limit = kConfinedTimeLimit);

} // namespace scorewell
