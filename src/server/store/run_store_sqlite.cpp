// The run store in one SQLite file: the embedded default for a server on one machine.
// WAL lets board reads go on while a verdict is written; writers take the lock at the
// start of their transaction and wait their turn up to the busy timeout.
#include "server/store/sql_session.h"
#include "server/store/sqlite_statement.h"
#include "server/store/store_backends.h"

#include <filesystem>

namespace {

constexpr int kBusyMilliseconds = 10000;

// AUTOINCREMENT: a deleted run's id is never given again, so an old link cannot show
// another player's run.
constexpr SqlTypes kTypes{"INTEGER PRIMARY KEY AUTOINCREMENT", "BLOB", "INTEGER"};

class SqliteSession final : public SqlSession {
public:
    explicit SqliteSession(const std::string& path) : connection_(path, kBusyMilliseconds)
    {
        SqliteTransaction schema(connection_);
        connection_.execute(runsSchema(kTypes).c_str());
        schema.commit();
    }

    std::vector<SqlRow> query(const std::string& sql, const std::vector<SqlParam>& params) override
    {
        SqliteStatement statement(connection_, sql.c_str());
        for (size_t i = 0; i < params.size(); ++i) {
            std::string name = "$"; // appended, not "$" + ...: GCC 12 warns falsely of overlapping copies there
            name += std::to_string(i + 1);
            bind(statement, name, params[i]);
        }
        std::vector<SqlRow> rows;
        while (statement.step()) {
            SqlRow& row = rows.emplace_back();
            for (int column = 0; column < statement.columns(); ++column) row.push_back(statement.blob(column));
        }
        return rows;
    }

    void transaction(const std::function<void()>& work) override
    {
        SqliteTransaction transaction(connection_);
        work();
        transaction.commit();
    }

    std::string rowLock(bool) const override { return ""; }
    void lockKey(const std::string&) override {} // BEGIN IMMEDIATE already excludes every other writer

private:
    static void bind(SqliteStatement& statement, const std::string& name, const SqlParam& param)
    {
        int index = statement.parameterIndex(name);
        if (const auto* integer = std::get_if<int64_t>(&param)) statement.bind(index, *integer);
        else if (const auto* text = std::get_if<std::string>(&param)) statement.bind(index, *text);
        else statement.bindBlob(index, std::get<SqlBytes>(param).bytes);
    }

    SqliteConnection connection_;
};

} // namespace

std::unique_ptr<RunStore> openSqliteRunStore(const std::string& path)
{
    if (path.empty()) throw RunStoreError("the database \"sqlite:\" names no file");
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code failure;
    if (!folder.empty()) std::filesystem::create_directories(folder, failure);
    if (failure) throw RunStoreError("cannot make the folder " + folder.string() + ": " + failure.message());
    return runStoreOver(std::make_unique<SqliteSession>(path));
}
