// The few things the run store asks of a database, so that its logic and SQL are
// written once for SQLite and PostgreSQL: parameterised queries ($1, $2... bound,
// never pasted), write transactions, and the two places where the databases differ
// (row locks, and serialising the writers of one run key).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

struct SqlBytes {
    std::string bytes;
};
using SqlParam = std::variant<int64_t, std::string, SqlBytes>;
// Each column as text (numbers in decimal) or raw bytes; nothing for NULL.
using SqlRow = std::vector<std::optional<std::string>>;

class SqlSession {
public:
    virtual ~SqlSession() = default;
    // Throws RunStoreError when the database fails.
    virtual std::vector<SqlRow> query(const std::string& sql, const std::vector<SqlParam>& params) = 0;
    // Runs work in one write transaction, committed when it returns and rolled back
    // when it throws.
    virtual void transaction(const std::function<void()>& work) = 0;
    // The clause that locks a selected row for this transaction (and skips rows that
    // others hold, when asked); empty where the transaction already excludes writers.
    virtual std::string rowLock(bool skipLocked) const = 0;
    // Within a transaction: until it ends, no other one gets past this for this key.
    virtual void lockKey(const std::string& key) = 0;
};

// The column types where the two databases name them differently.
struct SqlTypes {
    const char* id;      // a key that grows and never returns a deleted run's number
    const char* bytes;
    const char* integer; // 64 bits
};
// The schema, made where missing: its one description for both databases.
std::string runsSchema(const SqlTypes& types);
// The schema's last object. The schema is made in one transaction, so where this
// exists, all of it does.
inline constexpr const char* kLastSchemaObject = "runs_duplicates";

std::unique_ptr<class RunStore> runStoreOver(std::unique_ptr<SqlSession> session);
