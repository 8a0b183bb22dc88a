// The runs table, version 1, for both databases. A later version adds its steps here,
// after these, so an older database is brought up to date when it is opened, and
// names its own last step as the schema's last object.
#include "server/store/sql_session.h"

std::string runsSchema(const SqlTypes& types)
{
    const std::string integer = types.integer;
    return "CREATE TABLE IF NOT EXISTS runs ("
           " id " + std::string(types.id) + ","
           " name TEXT NOT NULL,"
           " day TEXT NOT NULL,"
           " run_key TEXT NOT NULL,"
           " delete_token TEXT NOT NULL,"
           " received_at " + integer + " NOT NULL,"
           " status TEXT NOT NULL DEFAULT 'pending' CHECK (status IN ('pending', 'verified', 'rejected')),"
           " score INTEGER NOT NULL DEFAULT 0,"
           " level INTEGER NOT NULL DEFAULT 0,"
           " reason TEXT NOT NULL DEFAULT '',"
           " duplicate_of " + integer + " REFERENCES runs (id) ON DELETE SET NULL,"
           " finished_at " + integer + ","
           " claim_token TEXT,"
           " claim_expires " + integer + ","
           // Last: SQLite reaches a column after a large value only through its overflow pages.
           " demo " + types.bytes + // NULL once a rejected run's week is over
           ");"
           // The database itself refuses to rank one key twice.
           "CREATE UNIQUE INDEX IF NOT EXISTS runs_verified_once ON runs (run_key) WHERE status = 'verified';"
           // Holds all a board shows, so reading one touches no row.
           "CREATE INDEX IF NOT EXISTS runs_board ON runs (day, score DESC, id, name, level) WHERE status = 'verified';"
           "CREATE INDEX IF NOT EXISTS runs_pending ON runs (id) WHERE status = 'pending';"
           "CREATE INDEX IF NOT EXISTS " + std::string(kLastSchemaObject) + " ON runs (duplicate_of);";
}
