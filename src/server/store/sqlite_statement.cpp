#include "server/store/sqlite_statement.h"

#include <sqlite3.h>

SqliteConnection::SqliteConnection(const std::string& path, int busyMilliseconds) : path_(path)
{
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        std::string problem = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        throw RunStoreError("cannot open the database " + path + ": " + problem);
    }
    sqlite3_busy_timeout(db_, busyMilliseconds);
    try {
        execute("PRAGMA journal_mode = WAL");
        execute("PRAGMA foreign_keys = ON");
    } catch (...) {
        sqlite3_close(db_); // a constructor that throws gets no destructor
        throw;
    }
}

SqliteConnection::~SqliteConnection() { sqlite3_close(db_); }

void SqliteConnection::execute(const char* sql)
{
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) fail("cannot run \"" + std::string(sql) + "\"");
}

void SqliteConnection::fail(const std::string& doing) const
{
    throw RunStoreError("the database " + path_ + ": " + doing + ": " + sqlite3_errmsg(db_));
}

SqliteStatement::SqliteStatement(SqliteConnection& connection, const char* sql) : connection_(connection)
{
    if (sqlite3_prepare_v2(connection.handle(), sql, -1, &statement_, nullptr) != SQLITE_OK)
        connection.fail("cannot prepare \"" + std::string(sql) + "\"");
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(statement_); }

SqliteStatement& SqliteStatement::bind(int index, int64_t value)
{
    if (sqlite3_bind_int64(statement_, index, value) != SQLITE_OK) connection_.fail("cannot bind a number");
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, const std::string& text)
{
    if (sqlite3_bind_text(statement_, index, text.data(), int(text.size()), SQLITE_TRANSIENT) != SQLITE_OK)
        connection_.fail("cannot bind a text");
    return *this;
}

SqliteStatement& SqliteStatement::bindBlob(int index, const std::string& bytes)
{
    // A zero-length blob would bind as NULL through a null pointer: zeroblob keeps it a blob.
    int result = bytes.empty() ? sqlite3_bind_zeroblob(statement_, index, 0)
                               : sqlite3_bind_blob(statement_, index, bytes.data(), int(bytes.size()), SQLITE_TRANSIENT);
    if (result != SQLITE_OK) connection_.fail("cannot bind bytes");
    return *this;
}

bool SqliteStatement::step()
{
    int result = sqlite3_step(statement_);
    if (result == SQLITE_ROW) return true;
    if (result == SQLITE_DONE) return false;
    connection_.fail("cannot run \"" + std::string(sqlite3_sql(statement_)) + "\"");
}

int SqliteStatement::parameterIndex(const std::string& name) const
{
    int index = sqlite3_bind_parameter_index(statement_, name.c_str());
    if (index == 0) throw RunStoreError("the query \"" + std::string(sqlite3_sql(statement_)) + "\" has no " + name);
    return index;
}

int SqliteStatement::columns() const { return sqlite3_column_count(statement_); }

std::optional<std::string> SqliteStatement::blob(int column) const
{
    if (sqlite3_column_type(statement_, column) == SQLITE_NULL) return std::nullopt;
    const void* bytes = sqlite3_column_blob(statement_, column);
    size_t size = size_t(sqlite3_column_bytes(statement_, column));
    return size ? std::string(static_cast<const char*>(bytes), size) : std::string();
}

SqliteTransaction::SqliteTransaction(SqliteConnection& connection) : connection_(connection)
{
    connection_.execute("BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction()
{
    if (open_) sqlite3_exec(connection_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void SqliteTransaction::commit()
{
    connection_.execute("COMMIT");
    open_ = false;
}
