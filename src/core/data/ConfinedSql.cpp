#include "data/ConfinedSql.h"

#include <sqlite3.h>

#include "common/Numbers.h"
#include "common/Text.h"

namespace scorewell {

struct ConfinedStatement::Guard {
    std::string writableTable; // empty: nothing may be written
    std::string refusal;       // the first thing refused, in words
    std::chrono::steady_clock::time_point deadline;
    bool timedOut = false;
};

namespace {

using Guard = ConfinedStatement::Guard;

std::string Describe(int action, const char* a3) {
    std::string object = a3 ? a3 : "";
    // Creating or dropping anything writes the engine's catalogue first.
    const bool catalogue = StartsWith(ToLower(object), "sqlite_");
    if (catalogue &&
        (action == SQLITE_INSERT || action == SQLITE_DELETE || action == SQLITE_UPDATE)) {
        return "it tries to change the league's tables";
    }
    switch (action) {
    case SQLITE_ATTACH:
    case SQLITE_DETACH:
        return "it tries to attach another database";
    case SQLITE_PRAGMA:
        return "it tries to use PRAGMA";
    case SQLITE_INSERT:
        return "it tries to add rows to " + object;
    case SQLITE_DELETE:
        return "it tries to delete rows of " + object;
    case SQLITE_UPDATE:
        return "it tries to change " + object + " beyond its points and bonus";
    case SQLITE_TRANSACTION:
    case SQLITE_SAVEPOINT:
        return "it tries to control transactions";
    case SQLITE_READ:
        return "it tries to read " + object;
    case SQLITE_ALTER_TABLE:
    case SQLITE_REINDEX:
    case SQLITE_ANALYZE:
    case SQLITE_CREATE_VTABLE:
    case SQLITE_DROP_VTABLE:
        return "it tries to change the league's tables";
    default:
        if (action >= SQLITE_CREATE_INDEX && action <= SQLITE_DROP_VIEW) {
            return "it tries to change the league's tables";
        }
        return "it tries to do more than read results (action " + std::to_string(action) + ")";
    }
}

int Authorize(void* context, int action, const char* a3, const char* a4, const char* dbName,
              const char* /*trigger*/) {
    auto* guard = static_cast<Guard*>(context);
    auto refuse = [&] {
        if (guard->refusal.empty()) {
            guard->refusal = Describe(action, a3);
        }
        return SQLITE_DENY;
    };
    const bool mainDb = !dbName || std::string_view(dbName) == "main";
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_FUNCTION:
    case SQLITE_RECURSIVE:
        return SQLITE_OK;
    case SQLITE_READ:
        // The engine's own catalogue is not league data.
        if (!mainDb || (a3 && StartsWith(ToLower(a3), "sqlite_"))) {
            return refuse();
        }
        return SQLITE_OK;
    case SQLITE_UPDATE:
        if (mainDb && !guard->writableTable.empty() && a3 &&
            EqualsNoCase(a3, guard->writableTable) && a4 &&
            (EqualsNoCase(a4, "Points") || EqualsNoCase(a4, "Bonus"))) {
            return SQLITE_OK;
        }
        return refuse();
    default:
        return refuse();
    }
}

int Progress(void* context) {
    auto* guard = static_cast<Guard*>(context);
    if (std::chrono::steady_clock::now() > guard->deadline) {
        guard->timedOut = true;
        return 1;
    }
    return 0;
}

} // namespace

ConfinedStatement::ConfinedStatement(Database& db, std::string label, const std::string& sql,
                                     std::string_view writableTable,
                                     std::chrono::milliseconds limit)
    : db_(db), label_(std::move(label)), limit_(limit), guard_(std::make_unique<Guard>()) {
    guard_->writableTable = std::string(writableTable);
    // The engine asks about every table, column and action a statement will touch when it is
    // prepared, and again for what table-valued functions prepare while it runs: the rules stay
    // in force for the statement's whole life.
    sqlite3_set_authorizer(db_.Handle(), Authorize, guard_.get());
    try {
        statement_.emplace(db_, sql);
    } catch (const DbError& e) {
        sqlite3_set_authorizer(db_.Handle(), nullptr, nullptr);
        if (e.Code() == SQLITE_MISUSE &&
            std::string_view(e.what()).find("only one statement") != std::string_view::npos) {
            throw ConfinedSqlError(label_ + " is refused: it holds more than one statement.");
        }
        if (!guard_->refusal.empty()) {
            throw ConfinedSqlError(label_ + " is refused: " + guard_->refusal + ".");
        }
        Fail(e.what());
    }
    if (guard_->writableTable.empty() && !statement_->IsReadOnly()) {
        sqlite3_set_authorizer(db_.Handle(), nullptr, nullptr);
        throw ConfinedSqlError(label_ + " is refused: it does not only read.");
    }
    guard_->deadline = std::chrono::steady_clock::now() + limit_;
    sqlite3_progress_handler(db_.Handle(), 1000, Progress, guard_.get());
}

ConfinedStatement::~ConfinedStatement() {
    statement_.reset();
    sqlite3_set_authorizer(db_.Handle(), nullptr, nullptr);
    sqlite3_progress_handler(db_.Handle(), 0, nullptr, nullptr);
}

bool ConfinedStatement::Step() {
    try {
        return statement_->Step();
    } catch (const DbError& e) {
        if (!guard_->refusal.empty()) {
            throw ConfinedSqlError(label_ + " is refused: " + guard_->refusal + ".");
        }
        if (guard_->timedOut) {
            throw ConfinedSqlError(label_ + " is stopped: it runs longer than " +
                                   GeneralNumberText(static_cast<double>(limit_.count()) / 1000.0) +
                                   " seconds.");
        }
        Fail(e.what());
    }
}

void ConfinedStatement::Fail(const std::string& reason) const {
    throw ConfinedSqlError(label_ + " cannot run: " + reason + ".");
}

bool KeepsWithinParentheses(std::string_view expression) {
    int depth = 0;
    for (std::size_t i = 0; i < expression.size(); ++i) {
        const char c = expression[i];
        auto skipTo = [&](std::string_view end) {
            const std::size_t at = expression.find(end, i + 1);
            i = at == std::string_view::npos ? expression.size() : at + end.size() - 1;
        };
        switch (c) {
        case '\'':
            skipTo("'");
            break;
        case '"':
            skipTo("\"");
            break;
        case '`':
            skipTo("`");
            break;
        case '[':
            skipTo("]");
            break;
        case '-':
            if (i + 1 < expression.size() && expression[i + 1] == '-') {
                skipTo("\n");
            }
            break;
        case '/':
            if (i + 1 < expression.size() && expression[i + 1] == '*') {
                ++i;
                skipTo("*/");
            }
            break;
        case '(':
            ++depth;
            break;
        case ')':
            if (--depth < 0) {
                return false;
            }
            break;
        default:
            break;
        }
    }
    return depth == 0;
}

void RunBonusRule(Database& db, const std::string& label, const std::string& statement,
                  std::string_view resultsTable, std::chrono::milliseconds limit) {
    ConfinedStatement rule(db, label, statement, resultsTable, limit);
    while (rule.Step()) {
    }
}

ResultSet RunConfinedQuery(Database& db, const std::string& label, const std::string& query,
                           std::chrono::milliseconds limit) {
    ConfinedStatement stmt(db, label, query, {}, limit);
    ResultSet result;
    const int columns = stmt.Get().ColumnCount();
    for (int i = 0; i < columns; ++i) {
        result.columns.push_back(stmt.Get().ColumnName(i));
    }
    while (stmt.Step()) {
        std::vector<Value> row;
        row.reserve(static_cast<std::size_t>(columns));
        for (int i = 0; i < columns; ++i) {
            row.push_back(stmt.Get().Column(i));
        }
        result.rows.push_back(std::move(row));
    }
    return result;
}

} // namespace scorewell
