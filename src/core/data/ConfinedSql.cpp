#include "data/ConfinedSql.h"

#include <sqlite3.h>

#include "common/Numbers.h"
#include "common/Text.h"

namespace scorewell {

namespace {

struct Guard {
    std::string writableTable; // empty: nothing may be written
    std::string refusal;       // the first thing refused, in words
    std::chrono::steady_clock::time_point deadline;
    bool timedOut = false;
};

std::string Describe(int action, const char* a3) {
    std::string object = a3 ? a3 : "";
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

// Installs the guard on the connection for the lifetime of the object.
class Confinement {
public:
    Confinement(Database& db, Guard& guard, std::chrono::milliseconds limit) : db_(db) {
        guard.deadline = std::chrono::steady_clock::now() + limit;
        sqlite3_set_authorizer(db_.Handle(), Authorize, &guard);
        sqlite3_progress_handler(db_.Handle(), 1000, Progress, &guard);
    }
    ~Confinement() {
        sqlite3_set_authorizer(db_.Handle(), nullptr, nullptr);
        sqlite3_progress_handler(db_.Handle(), 0, nullptr, nullptr);
    }
    Confinement(const Confinement&) = delete;
    Confinement& operator=(const Confinement&) = delete;

private:
    Database& db_;
};

[[noreturn]] void Refuse(const std::string& label, const Guard& guard, const DbError& e,
                         std::chrono::milliseconds limit) {
    if (guard.timedOut) {
        throw ConfinedSqlError(label + " is stopped: it runs longer than " +
                               GeneralNumberText(static_cast<double>(limit.count()) / 1000.0) +
                               " seconds.");
    }
    if (e.Code() == SQLITE_MISUSE &&
        std::string_view(e.what()).find("only one statement") != std::string_view::npos) {
        throw ConfinedSqlError(label + " is refused: it holds more than one statement.");
    }
    if (!guard.refusal.empty()) {
        throw ConfinedSqlError(label + " is refused: " + guard.refusal + ".");
    }
    throw ConfinedSqlError(label + " cannot run: " + e.what() + ".");
}

} // namespace

void RunBonusRule(Database& db, const std::string& label, const std::string& statement,
                  std::string_view resultsTable, std::chrono::milliseconds limit) {
    Guard guard;
    guard.writableTable = std::string(resultsTable);
    Confinement confinement(db, guard, limit);
    try {
        Statement stmt(db, statement);
        while (stmt.Step()) {
        }
    } catch (const DbError& e) {
        Refuse(label, guard, e, limit);
    }
}

ResultSet RunConfinedQuery(Database& db, const std::string& label, const std::string& query,
                           std::chrono::milliseconds limit) {
    Guard guard;
    Confinement confinement(db, guard, limit);
    try {
        Statement stmt(db, query);
        if (!stmt.IsReadOnly()) {
            throw ConfinedSqlError(label + " is refused: it does not only read.");
        }
        ResultSet result;
        for (int i = 0; i < stmt.ColumnCount(); ++i) {
            result.columns.push_back(stmt.ColumnName(i));
        }
        while (stmt.Step()) {
            std::vector<Value> row;
            row.reserve(result.columns.size());
            for (int i = 0; i < stmt.ColumnCount(); ++i) {
                row.push_back(stmt.Column(i));
            }
            result.rows.push_back(std::move(row));
        }
        return result;
    } catch (const DbError& e) {
        Refuse(label, guard, e, limit);
    }
}

} // namespace scorewell
