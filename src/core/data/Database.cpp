#include "data/Database.h"

#include <sqlite3.h>

#include <filesystem>
#include <system_error>

#include "common/Numbers.h"
#include "common/Paths.h"
#include "common/Platform.h"
#include "common/Text.h"

namespace scorewell {

namespace {

constexpr int kBusyTimeoutMs = 5000;
constexpr std::size_t kStatementCacheLimit = 64;

// Val(text): the leading number of a text, 0 when none; numbers pass through.
void ValFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc != 1) {
        sqlite3_result_error(ctx, "Val takes one argument", -1);
        return;
    }
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_INTEGER:
        sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
        return;
    case SQLITE_FLOAT:
        sqlite3_result_double(ctx, sqlite3_value_double(argv[0]));
        return;
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
        int bytes = sqlite3_value_bytes(argv[0]);
        sqlite3_result_double(ctx, LeadingNumber(std::string_view(text ? text : "", bytes)));
        return;
    }
    }
}

std::string AbsolutePath(const std::string& path) {
    std::error_code ec;
    auto abs = std::filesystem::absolute(FileSystemPath(path), ec);
    return ec ? path : Utf8Path(abs.lexically_normal());
}

bool OnlyWhitespaceOrComments(sqlite3* db, const char* tail) {
    if (!tail || !*tail) {
        return true;
    }
    sqlite3_stmt* rest = nullptr;
    const char* after = nullptr;
    int rc = sqlite3_prepare_v2(db, tail, -1, &rest, &after);
    if (rest) {
        sqlite3_finalize(rest);
        return false;
    }
    return rc == SQLITE_OK;
}

} // namespace

std::string QuoteIdentifier(std::string_view name) {
    return "\"" + ReplaceAll(name, "\"", "\"\"") + "\"";
}

// ----------------------------------------------------------------------------------------------
// Statement

Statement::Statement(Database& db, std::string_view sql) : db_(&db) {
    if (!db.db_) {
        throw DbError(SQLITE_MISUSE, "the database is not open");
    }
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v3(db.db_, sql.data(), static_cast<int>(sql.size()),
                                SQLITE_PREPARE_PERSISTENT, &stmt_, &tail);
    if (rc != SQLITE_OK) {
        db.ThrowError(rc);
    }
    if (!stmt_) {
        throw DbError(SQLITE_MISUSE, "the statement is empty");
    }
    std::string rest(tail ? tail : "", sql.data() + sql.size() - (tail ? tail : sql.data()));
    if (!OnlyWhitespaceOrComments(db.db_, rest.c_str())) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        throw DbError(SQLITE_MISUSE, "only one statement is allowed, but the text goes on after "
                                     "the first one");
    }
}

Statement::~Statement() {
    if (stmt_) {
        sqlite3_finalize(stmt_);
    }
}

Statement::Statement(Statement&& other) noexcept : db_(other.db_), stmt_(other.stmt_) {
    other.stmt_ = nullptr;
}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        if (stmt_) {
            sqlite3_finalize(stmt_);
        }
        db_ = other.db_;
        stmt_ = other.stmt_;
        other.stmt_ = nullptr;
    }
    return *this;
}

void Statement::Throw(int rc) const {
    db_->ThrowError(rc);
}

void Statement::Bind(int index, const Value& value) {
    int rc = SQLITE_OK;
    switch (value.GetType()) {
    case Value::Type::Null:
        rc = sqlite3_bind_null(stmt_, index);
        break;
    case Value::Type::Integer:
        rc = sqlite3_bind_int64(stmt_, index, value.AsInteger());
        break;
    case Value::Type::Real:
        rc = sqlite3_bind_double(stmt_, index, value.AsDouble());
        break;
    case Value::Type::Text:
        rc = sqlite3_bind_text(stmt_, index, value.Text().data(),
                               static_cast<int>(value.Text().size()), SQLITE_TRANSIENT);
        break;
    }
    if (rc != SQLITE_OK) {
        Throw(rc);
    }
}

void Statement::BindAll(std::initializer_list<Value> values) {
    int i = 1;
    for (const Value& v : values) {
        Bind(i++, v);
    }
}

void Statement::BindAll(const std::vector<Value>& values) {
    int i = 1;
    for (const Value& v : values) {
        Bind(i++, v);
    }
}

bool Statement::Step() {
    db_->CheckActionAlive();
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    // The statement's own error code is more precise than the one step returned.
    int code = sqlite3_extended_errcode(db_->db_);
    sqlite3_reset(stmt_);
    Throw(code != SQLITE_OK ? code : rc);
}

void Statement::Reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

void Statement::Run(std::initializer_list<Value> values) {
    Reset();
    BindAll(values);
    while (Step()) {
    }
    Reset();
}

void Statement::Run(const std::vector<Value>& values) {
    Reset();
    BindAll(values);
    while (Step()) {
    }
    Reset();
}

int Statement::ColumnCount() const {
    return sqlite3_column_count(stmt_);
}

std::string Statement::ColumnName(int index) const {
    const char* name = sqlite3_column_name(stmt_, index);
    return name ? name : "";
}

int Statement::ColumnIndex(std::string_view name) const {
    int n = ColumnCount();
    for (int i = 0; i < n; ++i) {
        if (EqualsNoCase(ColumnName(i), name)) {
            return i;
        }
    }
    return -1;
}

Value Statement::Column(int index) const {
    switch (sqlite3_column_type(stmt_, index)) {
    case SQLITE_NULL:
        return Value();
    case SQLITE_INTEGER:
        return Value(static_cast<long long>(sqlite3_column_int64(stmt_, index)));
    case SQLITE_FLOAT:
        return Value(sqlite3_column_double(stmt_, index));
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
        int bytes = sqlite3_column_bytes(stmt_, index);
        return Value(std::string(text ? text : "", static_cast<std::size_t>(bytes)));
    }
    }
}

bool Statement::IsReadOnly() const {
    return sqlite3_stmt_readonly(stmt_) != 0;
}

std::string Statement::Sql() const {
    const char* sql = stmt_ ? sqlite3_sql(stmt_) : nullptr;
    return sql ? sql : "";
}

// ----------------------------------------------------------------------------------------------
// Cursor and result sets

Cursor::Cursor(Statement statement) : statement_(std::move(statement)) {
    atEnd_ = !statement_.Step();
}

void Cursor::MoveNext() {
    if (!atEnd_) {
        atEnd_ = !statement_.Step();
    }
}

Value Cursor::Field(std::string_view name) const {
    int index = statement_.ColumnIndex(name);
    if (index < 0) {
        throw DbError(SQLITE_ERROR, "the query has no field named " + std::string(name));
    }
    return Field(index);
}

Value Cursor::Field(int index) const {
    if (atEnd_) {
        throw DbError(SQLITE_ERROR, "no current record");
    }
    if (index < 0 || index >= statement_.ColumnCount()) {
        throw DbError(SQLITE_RANGE, "no field number " + std::to_string(index));
    }
    return statement_.Column(index);
}

bool Cursor::HasField(std::string_view name) const {
    return statement_.ColumnIndex(name) >= 0;
}

int ResultSet::ColumnIndex(std::string_view name) const {
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (EqualsNoCase(columns[i], name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// ----------------------------------------------------------------------------------------------
// Database

Database::~Database() {
    Close();
}

Database::Database(Database&& other) noexcept
    : db_(other.db_), path_(std::move(other.path_)), cache_(std::move(other.cache_)),
      actionsOpen_(other.actionsOpen_) {
    other.db_ = nullptr;
    other.cache_.clear();
    other.actionsOpen_ = 0;
    for (auto& [sql, stmt] : cache_) {
        stmt->db_ = this;
    }
}

Database& Database::operator=(Database&& other) noexcept {
    if (this != &other) {
        Close();
        db_ = other.db_;
        path_ = std::move(other.path_);
        cache_ = std::move(other.cache_);
        actionsOpen_ = other.actionsOpen_;
        other.db_ = nullptr;
        other.cache_.clear();
        other.actionsOpen_ = 0;
        // Cached statements keep a pointer to their database; point them here.
        for (auto& [sql, stmt] : cache_) {
            stmt->db_ = this;
        }
    }
    return *this;
}

Database Database::OpenWithFlags(const std::string& path, int flags) {
    Database db;
    db.path_ = AbsolutePath(path);
    int rc = sqlite3_open_v2(db.path_.c_str(), &db.db_, flags | SQLITE_OPEN_EXRESCODE, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = db.db_ ? sqlite3_errmsg(db.db_) : sqlite3_errstr(rc);
        sqlite3_close_v2(db.db_);
        db.db_ = nullptr;
        throw DbError(rc, message);
    }
    try {
        db.Configure();
    } catch (...) {
        db.Close();
        throw;
    }
    return db;
}

Database Database::Open(const std::string& path) {
    if (!FileExists(path)) {
        throw DbError(SQLITE_CANTOPEN, "the file does not exist");
    }
    return OpenWithFlags(path, SQLITE_OPEN_READWRITE);
}

Database Database::OpenReadOnly(const std::string& path) {
    if (!FileExists(path)) {
        throw DbError(SQLITE_CANTOPEN, "the file does not exist");
    }
    return OpenWithFlags(path, SQLITE_OPEN_READONLY);
}

Database Database::Create(const std::string& path) {
    if (FileExists(path) || FolderExists(path)) {
        throw DbError(SQLITE_CANTOPEN, "the file already exists");
    }
    return OpenWithFlags(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

Database Database::CreateInMemory() {
    Database db;
    int rc = sqlite3_open_v2(":memory:", &db.db_,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXRESCODE,
                             nullptr);
    if (rc != SQLITE_OK) {
        std::string message = db.db_ ? sqlite3_errmsg(db.db_) : sqlite3_errstr(rc);
        sqlite3_close_v2(db.db_);
        db.db_ = nullptr;
        throw DbError(rc, message);
    }
    db.path_ = ":memory:";
    db.Configure();
    return db;
}

void Database::Configure() {
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_FKEY, 1, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    // Texts are single-quoted everywhere; a double-quoted word is always a name.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    int rc = sqlite3_create_function_v2(db_, "Val", 1,
                                        SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
                                        nullptr, ValFunction, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        ThrowError(rc);
    }
    // Reading the journal mode reads the file header: a file that is not a database fails here.
    bool readOnly = sqlite3_db_readonly(db_, "main") == 1;
    if (!readOnly) {
        Execute("PRAGMA journal_mode=DELETE");
    } else {
        Scalar("PRAGMA schema_version");
    }
    Execute("PRAGMA synchronous=FULL");
    Execute("PRAGMA foreign_keys=ON");
}

void Database::ClearCache() {
    cache_.clear();
}

void Database::Close() {
    ClearCache();
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

[[noreturn]] void Database::ThrowError(int rc) const {
    std::string message;
    int code = rc;
    int systemError = 0;
    if (db_) {
        systemError = sqlite3_system_errno(db_);
        int ext = sqlite3_extended_errcode(db_);
        if ((ext & 0xff) == (rc & 0xff)) {
            code = ext;
        }
        // The engine reads errno only after cleaning up, when a later call (removing a journal
        // that is not there) may have replaced the reason of the failed write; the file keeps
        // the reason of its own last failure.
        int fileError = 0;
        if ((code & 0xff) == SQLITE_IOERR && !IsDiskFullError(systemError) &&
            sqlite3_file_control(db_, "main", SQLITE_FCNTL_LAST_ERRNO, &fileError) == SQLITE_OK &&
            IsDiskFullError(fileError)) {
            systemError = fileError;
        }
        message = sqlite3_errmsg(db_);
    }
    if (message.empty() || message == "not an error") {
        message = sqlite3_errstr(rc);
    }
    lastErrorCode_ = code;
    lastSystemError_ = systemError;
    lastErrorMessage_ = message;
    throw DbError(code, message, systemError);
}

void Database::CheckActionAlive() const {
    if (actionsOpen_ > 0 && db_ && sqlite3_get_autocommit(db_) != 0) {
        // The cause is the last error the engine gave; without one, say what happened.
        if (lastErrorCode_ != 0) {
            throw TransactionLost(lastErrorCode_, lastErrorMessage_, lastSystemError_);
        }
        throw TransactionLost(SQLITE_ABORT_ROLLBACK, "the engine ended the transaction");
    }
}

Statement& Database::Cached(std::string_view sql) {
    std::string key(sql);
    auto it = cache_.find(key);
    if (it != cache_.end()) {
        return *it->second;
    }
    if (cache_.size() >= kStatementCacheLimit) {
        cache_.clear();
    }
    auto stmt = std::make_unique<Statement>(*this, sql);
    Statement& ref = *stmt;
    cache_.emplace(std::move(key), std::move(stmt));
    return ref;
}

void Database::Execute(std::string_view sql, std::initializer_list<Value> values) {
    Cached(sql).Run(values);
}

void Database::Execute(std::string_view sql, const std::vector<Value>& values) {
    Cached(sql).Run(values);
}

Cursor Database::Query(std::string_view sql, std::initializer_list<Value> values) {
    Statement stmt(*this, sql);
    stmt.BindAll(values);
    return Cursor(std::move(stmt));
}

Cursor Database::Query(std::string_view sql, const std::vector<Value>& values) {
    Statement stmt(*this, sql);
    stmt.BindAll(values);
    return Cursor(std::move(stmt));
}

ResultSet Database::QueryAll(std::string_view sql, std::initializer_list<Value> values) {
    return QueryAll(sql, std::vector<Value>(values));
}

ResultSet Database::QueryAll(std::string_view sql, const std::vector<Value>& values) {
    Statement stmt(*this, sql);
    stmt.BindAll(values);
    ResultSet result;
    int n = stmt.ColumnCount();
    for (int i = 0; i < n; ++i) {
        result.columns.push_back(stmt.ColumnName(i));
    }
    while (stmt.Step()) {
        std::vector<Value> row;
        row.reserve(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            row.push_back(stmt.Column(i));
        }
        result.rows.push_back(std::move(row));
    }
    return result;
}

Value Database::Scalar(std::string_view sql, std::initializer_list<Value> values) {
    return Scalar(sql, std::vector<Value>(values));
}

Value Database::Scalar(std::string_view sql, const std::vector<Value>& values) {
    Statement& stmt = Cached(sql);
    stmt.Reset();
    stmt.BindAll(values);
    Value result;
    if (stmt.Step() && stmt.ColumnCount() > 0) {
        result = stmt.Column(0);
    }
    stmt.Reset();
    return result;
}

int Database::Changes() const {
    return sqlite3_changes(db_);
}

std::int64_t Database::LastInsertRowId() const {
    return sqlite3_last_insert_rowid(db_);
}

bool Database::InTransaction() const {
    return db_ && sqlite3_get_autocommit(db_) == 0;
}

bool Database::TableExists(std::string_view table) {
    try {
        return !Scalar("SELECT name FROM sqlite_schema WHERE type='table' AND name=? "
                       "COLLATE NOCASE",
                       {Value(table)})
                    .IsNull();
    } catch (const DbError&) {
        return false;
    }
}

bool Database::IndexExists(std::string_view index) {
    try {
        return !Scalar("SELECT name FROM sqlite_schema WHERE type='index' AND name=? "
                       "COLLATE NOCASE",
                       {Value(index)})
                    .IsNull();
    } catch (const DbError&) {
        return false;
    }
}

std::vector<FieldInfo> Database::Fields(std::string_view table) {
    std::vector<FieldInfo> fields;
    Statement stmt(*this, "SELECT name, type, \"notnull\", pk FROM pragma_table_info(?)");
    stmt.Bind(1, Value(table));
    while (stmt.Step()) {
        FieldInfo f;
        f.name = stmt.Column(0).AsText();
        f.declaredType = stmt.Column(1).AsText();
        f.notNull = stmt.Column(2).AsInteger() != 0;
        f.primaryKey = stmt.Column(3).AsInteger() != 0;
        fields.push_back(std::move(f));
    }
    return fields;
}

bool Database::FieldExists(std::string_view table, std::string_view field) {
    try {
        for (const FieldInfo& f : Fields(table)) {
            if (EqualsNoCase(f.name, field)) {
                return true;
            }
        }
    } catch (const DbError&) {
    }
    return false;
}

std::optional<int> Database::DeclaredSize(std::string_view table, std::string_view field) {
    for (const FieldInfo& f : Fields(table)) {
        if (EqualsNoCase(f.name, field)) {
            auto open = f.declaredType.find('(');
            auto close = f.declaredType.find(')', open == std::string::npos ? 0 : open);
            if (open == std::string::npos || close == std::string::npos) {
                return std::nullopt;
            }
            auto size = StrictInteger(f.declaredType.substr(open + 1, close - open - 1));
            if (!size) {
                return std::nullopt;
            }
            return *size;
        }
    }
    return std::nullopt;
}

void Database::ExecuteScript(const std::string& sql) {
    ClearCache();
    char* error = nullptr;
    int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        std::string message = error ? error : sqlite3_errstr(rc);
        sqlite3_free(error);
        throw DbError(rc, message);
    }
}

void Database::AddField(std::string_view table, std::string_view definition) {
    ClearCache();
    Execute("ALTER TABLE " + QuoteIdentifier(table) + " ADD COLUMN " + std::string(definition));
}

void Database::DropField(std::string_view table, std::string_view field) {
    ClearCache();
    Execute("ALTER TABLE " + QuoteIdentifier(table) + " DROP COLUMN " + QuoteIdentifier(field));
}

void Database::RenameField(std::string_view table, std::string_view from, std::string_view to) {
    ClearCache();
    Execute("ALTER TABLE " + QuoteIdentifier(table) + " RENAME COLUMN " + QuoteIdentifier(from) +
            " TO " + QuoteIdentifier(to));
}

void Database::DropIndex(std::string_view index) {
    ClearCache();
    Execute("DROP INDEX " + QuoteIdentifier(index));
}

// ----------------------------------------------------------------------------------------------
// Transaction

Transaction::Transaction(Database& db) : db_(db) {
    static int counter = 0;
    // An action begun inside another whose transaction the engine ended must not start a new
    // transaction of its own: the outer action is over.
    db_.CheckActionAlive();
    if (db_.InTransaction()) {
        savepoint_ = "action_" + std::to_string(++counter);
        db_.Execute("SAVEPOINT " + savepoint_);
    } else {
        db_.lastErrorCode_ = 0;
        db_.Execute("BEGIN IMMEDIATE");
    }
    open_ = true;
    ++db_.actionsOpen_;
}

Transaction::~Transaction() {
    if (open_) {
        try {
            Rollback();
        } catch (...) {
            // Nothing more can be done here; the engine rolls back when the connection closes.
        }
    }
}

void Transaction::Commit() {
    if (!open_) {
        return;
    }
    if (savepoint_.empty()) {
        db_.Execute("COMMIT");
    } else {
        db_.Execute("RELEASE " + savepoint_);
    }
    open_ = false;
    --db_.actionsOpen_;
}

void Transaction::Rollback() {
    if (!open_) {
        return;
    }
    open_ = false;
    --db_.actionsOpen_;
    // A failed statement may already have ended the transaction, and its savepoints with it.
    if (!db_.InTransaction()) {
        return;
    }
    if (savepoint_.empty()) {
        db_.Execute("ROLLBACK");
    } else {
        db_.Execute("ROLLBACK TO " + savepoint_);
        db_.Execute("RELEASE " + savepoint_);
    }
}

void BuildAndReplaceFile(const std::string& temp, const std::string& target,
                         const std::function<void()>& build) {
    auto removeTemp = [&] {
        RemoveFileIfExists(temp);
        RemoveFileIfExists(temp + "-journal");
    };
    try {
        removeTemp();
        build();
        SyncFile(temp);
        ReplaceFile(temp, target);
        const std::string folder = FolderOf(NativePath(target));
        SyncFolder(folder.empty() ? "." : folder);
    } catch (...) {
        removeTemp();
        throw;
    }
}

} // namespace scorewell
