// A thin hold on SQLite's C interface: a connection, prepared statements with bound
// parameters (never text pasted into SQL) and write transactions. Every failure
// throws RunStoreError with SQLite's message.
#pragma once

#include "server/store/run_store.h"

#include <cstdint>
#include <optional>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

class SqliteConnection {
public:
    // Opens (making) the file, in WAL mode, waiting busyMilliseconds for other writers.
    SqliteConnection(const std::string& path, int busyMilliseconds);
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    // Statements without parameters: the schema, transactions.
    void execute(const char* sql);
    sqlite3* handle() const { return db_; }
    [[noreturn]] void fail(const std::string& doing) const;

private:
    sqlite3* db_ = nullptr;
    std::string path_;
};

class SqliteStatement {
public:
    SqliteStatement(SqliteConnection& connection, const char* sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Parameters count from 1, as in the SQL's ?1, ?2...
    SqliteStatement& bind(int index, int64_t value);
    SqliteStatement& bind(int index, const std::string& text);
    SqliteStatement& bindBlob(int index, const std::string& bytes);
    // The next row: false when there is none (the statement is done).
    bool step();

    // The index of a named parameter ("$1"); a name the SQL lacks is a fault.
    int parameterIndex(const std::string& name) const;
    int columns() const;
    // A column's bytes as stored (numbers as decimal text); nothing for NULL.
    std::optional<std::string> blob(int column) const;

private:
    SqliteConnection& connection_;
    sqlite3_stmt* statement_ = nullptr;
};

// BEGIN IMMEDIATE: takes the write lock at once, so two writers never deadlock on
// upgrading read locks (which the busy timeout would not resolve). Rolled back unless
// committed.
class SqliteTransaction {
public:
    explicit SqliteTransaction(SqliteConnection& connection);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;
    void commit();

private:
    SqliteConnection& connection_;
    bool open_ = true;
};
