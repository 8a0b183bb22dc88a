// The run store in PostgreSQL, for several server processes on one database: a
// pending run is claimed in a transaction that skips rows others hold, and the writers
// of one run key are serialised by a transaction-scoped advisory lock.
#include "server/store/sql_session.h"
#include "server/store/store_backends.h"

#include <pqxx/pqxx>

namespace {

// Serialises the making of the schema by processes that start together.
constexpr int64_t kSchemaLock = 0x5347'5255'4e53; // "SGRUNS"

// A sequence never gives a deleted run's id again.
constexpr SqlTypes kTypes{"BIGSERIAL PRIMARY KEY", "BYTEA", "BIGINT"};

constexpr pqxx::oid kByteaType = 17;

// Parameters go as text; bytes in bytea's hex form, which the server decodes.
std::string parameterText(const SqlParam& param)
{
    if (const auto* integer = std::get_if<int64_t>(&param)) return std::to_string(*integer);
    if (const auto* text = std::get_if<std::string>(&param)) return *text;
    const std::string& bytes = std::get<SqlBytes>(param).bytes;
    return "\\x" + hexText(std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
}

class PostgresSession final : public SqlSession {
public:
    explicit PostgresSession(const std::string& url) : url_(url), connection_(std::make_unique<pqxx::connection>(url))
    {
        if (schemaMade()) return;
        pqxx::work schema(*connection_);
        schema.exec_params("SELECT pg_advisory_xact_lock($1)", kSchemaLock);
        schema.exec(runsSchema(kTypes));
        schema.commit();
    }

    std::vector<SqlRow> query(const std::string& sql, const std::vector<SqlParam>& params) override
    {
        if (current_) return guarded([&] { return run(*current_, sql, params); });
        return guarded([&] {
            pqxx::work alone(connection());
            std::vector<SqlRow> rows = run(alone, sql, params);
            alone.commit();
            return rows;
        });
    }

    void transaction(const std::function<void()>& work) override
    {
        guarded([&] {
            pqxx::work transaction(connection());
            current_ = &transaction;
            struct Forget {
                pqxx::work*& current;
                ~Forget() { current = nullptr; }
            } forget{current_};
            work();
            transaction.commit();
            return 0;
        });
    }

    std::string rowLock(bool skipLocked) const override { return skipLocked ? " FOR UPDATE SKIP LOCKED" : " FOR UPDATE"; }

    void lockKey(const std::string& key) override
    {
        query("SELECT pg_advisory_xact_lock(hashtextextended($1, 0))", {key});
    }

private:
    // Making the schema locks the table against writers even where there is nothing to
    // make: a connection opened while other processes write would wait for each write
    // in progress and hold up those that follow, seconds on a busy server. So the
    // schema is looked for first, which takes no lock.
    bool schemaMade()
    {
        pqxx::nontransaction look(*connection_);
        return !look.exec_params1("SELECT to_regclass($1)", kLastSchemaObject)[0].is_null();
    }

    // A connection lost (the database restarted) fails this call and is made again for
    // the next: the call is not repeated, as a commit that broke off may have happened.
    pqxx::connection& connection()
    {
        if (!connection_ || !connection_->is_open()) {
            connection_.reset();
            connection_ = std::make_unique<pqxx::connection>(url_);
        }
        return *connection_;
    }

    template <typename Work>
    static auto guarded(Work work) -> decltype(work())
    {
        try {
            return work();
        } catch (const pqxx::failure& failure) {
            throw RunStoreError(std::string("the PostgreSQL database: ") + failure.what());
        }
    }

    static std::vector<SqlRow> run(pqxx::work& transaction, const std::string& sql, const std::vector<SqlParam>& params)
    {
        std::vector<std::string> texts;
        for (const SqlParam& param : params) texts.push_back(parameterText(param));
        pqxx::result result = transaction.exec_params(sql, pqxx::prepare::make_dynamic_params(texts));
        std::vector<SqlRow> rows;
        for (const pqxx::row& row : result) {
            SqlRow& out = rows.emplace_back();
            for (const pqxx::field& field : row) {
                if (field.is_null()) out.emplace_back();
                else if (field.type() == kByteaType) out.emplace_back(pqxx::binarystring(field).str());
                else out.emplace_back(std::string(field.c_str(), field.size()));
            }
        }
        return rows;
    }

    std::string url_;
    std::unique_ptr<pqxx::connection> connection_;
    pqxx::work* current_ = nullptr; // the transaction() under way
};

} // namespace

std::unique_ptr<RunStore> openPostgresRunStore(const std::string& url)
{
    try {
        return runStoreOver(std::make_unique<PostgresSession>(url));
    } catch (const std::exception& failure) {
        // Named without its user and password, which the address may carry.
        size_t at = url.find('@');
        std::string shown = at == std::string::npos ? url : url.substr(0, url.find("://") + 3) + "..." + url.substr(at);
        throw RunStoreError("cannot open the PostgreSQL database " + shown + ": " + failure.what());
    }
}
