#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/Value.h"

struct sqlite3;
struct sqlite3_stmt;

namespace scorewell {

// An error of the database engine: its extended result code and its message.
class DbError : public std::runtime_error {
public:
    DbError(int code, const std::string& message, int systemError = 0)
        : std::runtime_error(message), code_(code), systemError_(systemError) {}
    int Code() const { return code_; }
    // The primary result code (SQLITE_BUSY, SQLITE_FULL, ...), without the extended bits.
    int PrimaryCode() const { return code_ & 0xff; }
    // The operating system's errno behind an I/O error (ENOSPC, EFBIG, ...); 0 when none.
    int SystemError() const { return systemError_; }

private:
    int code_;
    int systemError_;
};

// The engine rolled back an action's transaction by itself after an error (a full disk, an I/O
// error): the action is over, and nothing of it may run on outside its transaction. Carries the
// code and reason of the error that ended it.
class TransactionLost : public DbError {
public:
    using DbError::DbError;
};

class Database;

// One prepared statement, reusable with Reset for bulk work. Stepping returns true for a row and
// false when done, and throws on anything else, so a loop never stops early silently.
class Statement {
public:
    Statement(Database& db, std::string_view sql);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Parameters are numbered from 1.
    void Bind(int index, const Value& value);
    void BindAll(std::initializer_list<Value> values);
    void BindAll(const std::vector<Value>& values);
    bool Step();
    // Ready to run again; bindings are cleared.
    void Reset();
    // Binds, runs to completion and resets: for statements that return no rows.
    void Run(std::initializer_list<Value> values);
    void Run(const std::vector<Value>& values);

    int ColumnCount() const;
    std::string ColumnName(int index) const;
    // Index of a result column by name, ignoring letter case; -1 when there is none.
    int ColumnIndex(std::string_view name) const;
    Value Column(int index) const;
    bool IsReadOnly() const;
    std::string Sql() const;
    sqlite3_stmt* Handle() const { return stmt_; }

private:
    friend class Database;
    [[noreturn]] void Throw(int rc) const;

    Database* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
};

// A forward cursor over the rows of a query: fields by name, end test, move next.
class Cursor {
public:
    explicit Cursor(Statement statement);

    bool AtEnd() const { return atEnd_; }
    void MoveNext();
    // The field of the current row; throws when there is no such field or no current row.
    Value Field(std::string_view name) const;
    Value Field(int index) const;
    bool HasField(std::string_view name) const;
    int FieldCount() const { return statement_.ColumnCount(); }
    std::string FieldName(int index) const { return statement_.ColumnName(index); }

private:
    Statement statement_;
    bool atEnd_ = true;
};

// All rows of a query at once, for the small result sets of reports and lists.
struct ResultSet {
    std::vector<std::string> columns;
    std::vector<std::vector<Value>> rows;

    // Index of a column by name, ignoring letter case; -1 when there is none.
    int ColumnIndex(std::string_view name) const;
};

// One column of a table as the engine describes it.
struct FieldInfo {
    std::string name;
    std::string declaredType;
    bool notNull = false;
    bool primaryKey = false;
};

// An open SQLite database file. Every connection runs with foreign keys on, the rollback journal,
// full synchronisation, defensive mode, untrusted schema, a busy timeout and the function Val.
class Database {
public:
    Database() = default;
    ~Database();
    Database(Database&& other) noexcept;
    Database& operator=(Database&& other) noexcept;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing file, shared, read-write. Throws DbError when it does not exist or is not
    // a database the engine can read.
    static Database Open(const std::string& path);
    // Opens an existing file for reading only (nothing can be written through this connection).
    static Database OpenReadOnly(const std::string& path);
    // Creates a new, empty database file; throws when the file exists.
    static Database Create(const std::string& path);
    // A new, empty database that lives in memory until it is closed.
    static Database CreateInMemory();

    bool IsOpen() const { return db_ != nullptr; }
    void Close();
    // The full path of the file, as opened.
    const std::string& Path() const { return path_; }
    sqlite3* Handle() const { return db_; }

    // Runs one statement with bound values. Repeated texts reuse their prepared statement.
    void Execute(std::string_view sql, std::initializer_list<Value> values = {});
    void Execute(std::string_view sql, const std::vector<Value>& values);
    // A cursor on the rows of a query.
    Cursor Query(std::string_view sql, std::initializer_list<Value> values = {});
    Cursor Query(std::string_view sql, const std::vector<Value>& values);
    ResultSet QueryAll(std::string_view sql, std::initializer_list<Value> values = {});
    ResultSet QueryAll(std::string_view sql, const std::vector<Value>& values);
    // The first field of the first row, Null when the query gives no row.
    Value Scalar(std::string_view sql, std::initializer_list<Value> values = {});
    Value Scalar(std::string_view sql, const std::vector<Value>& values);

    // Rows changed by the last statement.
    int Changes() const;
    std::int64_t LastInsertRowId() const;
    bool InTransaction() const;

    // Schema probes.
    bool TableExists(std::string_view table);
    bool FieldExists(std::string_view table, std::string_view field);
    bool IndexExists(std::string_view index);
    std::vector<FieldInfo> Fields(std::string_view table);
    // The size a text field was declared with ("TEXT(50)" gives 50); nothing when none.
    std::optional<int> DeclaredSize(std::string_view table, std::string_view field);

    // Runs a trusted script of several statements (the program database defaults); never for SQL
    // that comes from a file or a user.
    void ExecuteScript(const std::string& sql);

    // Schema changes. definition is a column definition: name, type and constraints.
    void AddField(std::string_view table, std::string_view definition);
    void DropField(std::string_view table, std::string_view field);
    void RenameField(std::string_view table, std::string_view from, std::string_view to);
    void DropIndex(std::string_view index);

    // The engine's error as a DbError, for the given result code.
    [[noreturn]] void ThrowError(int rc) const;

private:
    friend class Statement;
    friend class Transaction;
    // Throws TransactionLost when an action's transaction is open on this connection but the
    // engine has ended it.
    void CheckActionAlive() const;
    static Database OpenWithFlags(const std::string& path, int flags);
    void Configure();
    Statement& Cached(std::string_view sql);
    void ClearCache();

    sqlite3* db_ = nullptr;
    std::string path_;
    std::unordered_map<std::string, std::unique_ptr<Statement>> cache_;
    // Transaction guards open on this connection, and the last error the engine reported (the
    // cause, when it rolled an action back by itself).
    int actionsOpen_ = 0;
    mutable int lastErrorCode_ = 0;
    mutable int lastSystemError_ = 0;
    mutable std::string lastErrorMessage_;
};

// One user action as one transaction: BEGIN IMMEDIATE on construction, ROLLBACK on destruction
// unless committed. Inside an open transaction it becomes a savepoint of that transaction, so
// actions compose. While one is open, every statement on the connection checks that the engine
// has not rolled the transaction back by itself; if it has, the statement throws TransactionLost
// instead of running on in autocommit mode.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void Commit();
    void Rollback();

private:
    Database& db_;
    std::string savepoint_;
    bool open_ = false;
};

// Quotes a name for SQL: Driver becomes "Driver".
std::string QuoteIdentifier(std::string_view name);

// Puts a database file in place of target whole: build writes it as temp, which is flushed and
// renamed over target. Whatever fails, target is as it was and temp (with its journal) is gone.
void BuildAndReplaceFile(const std::string& temp, const std::string& target,
                         const std::function<void()>& build);

} // namespace scorewell
