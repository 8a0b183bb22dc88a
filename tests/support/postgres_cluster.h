// A throwaway PostgreSQL cluster for the storage tests: made in a temporary folder on
// first use (initdb, pg_ctl -w), one fresh database per test, stopped and removed when
// the test program ends. PostgreSQL refuses to run as root, so as root every server
// command runs as the "postgres" user through runuser, in a folder that user owns.
// It listens on a Unix socket in its own folder only, so no port can clash with
// another cluster on the machine.
#pragma once

#include <memory>
#include <string>
#include <vector>

class PostgresCluster {
public:
    // The running cluster, or nothing with why not in reason: "unavailable" when the
    // PostgreSQL programs are not installed (a reason to skip), otherwise a failure.
    static PostgresCluster* shared(std::string& reason, bool& unavailable);
    ~PostgresCluster();

    // A new, empty database: its postgresql:// address, or "" with reason.
    std::string freshDatabase(std::string& reason);
    // Stops the server (dropping every connection) and starts it again.
    bool restart(std::string& reason);

private:
    PostgresCluster(std::string programs, std::string folder);
    bool start(std::string& reason);
    // Runs a PostgreSQL program (as the server's user where needed), its output to the
    // cluster's log; false with the log's end in reason.
    bool run(const std::string& program, const std::vector<std::string>& arguments, std::string& reason);

    std::string programs_; // the folder of initdb, pg_ctl, createdb
    std::string folder_;   // the cluster's data and its socket
    bool started_ = false;
    int databases_ = 0;
};
