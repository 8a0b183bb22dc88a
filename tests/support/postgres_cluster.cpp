#include "support/postgres_cluster.h"

#include <fcntl.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr const char* kPort = "5432";
constexpr const char* kServerUser = "postgres";

// The newest installed server's programs, as Debian lays them out.
std::string findPrograms()
{
    std::string newest;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ignored))
        if (fs::exists(entry.path() / "bin" / "pg_ctl") && entry.path().string() > newest) newest = entry.path().string();
    return newest.empty() ? "" : newest + "/bin";
}

std::string logTail(const std::string& path)
{
    std::ifstream log(path);
    std::stringstream text;
    text << log.rdbuf();
    std::string all = text.str();
    return all.size() > 2000 ? all.substr(all.size() - 2000) : all;
}

} // namespace

PostgresCluster* PostgresCluster::shared(std::string& reason, bool& unavailable)
{
    static std::unique_ptr<PostgresCluster> cluster;
    static std::string failure;
    unavailable = false;
    if (cluster) return cluster.get();
    if (!failure.empty()) {
        reason = failure;
        return nullptr;
    }
    std::string programs = findPrograms();
    if (programs.empty()) {
        unavailable = true;
        reason = "the PostgreSQL server programs (Debian's postgresql) are not installed";
        return nullptr;
    }
    std::string pattern = (fs::temp_directory_path() / "runstore_pg_XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        reason = failure = "cannot make a folder for the cluster from " + pattern;
        return nullptr;
    }
    std::unique_ptr<PostgresCluster> made(new PostgresCluster(programs, pattern));
    if (!made->start(failure)) {
        reason = failure;
        return nullptr;
    }
    cluster = std::move(made);
    return cluster.get();
}

PostgresCluster::PostgresCluster(std::string programs, std::string folder)
    : programs_(std::move(programs)), folder_(std::move(folder))
{
}

PostgresCluster::~PostgresCluster()
{
    std::string ignored;
    if (started_) run("pg_ctl", {"-D", folder_ + "/data", "-m", "immediate", "-w", "stop"}, ignored);
    std::error_code kept;
    fs::remove_all(folder_, kept);
}

bool PostgresCluster::start(std::string& reason)
{
    if (::geteuid() == 0) {
        const passwd* user = ::getpwnam(kServerUser);
        if (!user || ::chown(folder_.c_str(), user->pw_uid, user->pw_gid) != 0) {
            reason = "running as root, but the folder cannot be given to the user \"" + std::string(kServerUser) + "\"";
            return false;
        }
    }
    // Durability is of no use to a cluster that lives for one test program.
    if (!run("initdb", {"-D", folder_ + "/data", "-A", "trust", "-U", "scores", "--no-sync", "--no-locale", "-E", "UTF8"},
             reason))
        return false;
    std::string options = "-k " + folder_ + " -p " + kPort + " -c listen_addresses= -c fsync=off";
    if (!run("pg_ctl", {"-D", folder_ + "/data", "-o", options, "-l", folder_ + "/server.log", "-t", "60", "-w", "start"},
             reason))
        return false;
    started_ = true;
    return true;
}

bool PostgresCluster::restart(std::string& reason)
{
    return run("pg_ctl", {"-D", folder_ + "/data", "-m", "fast", "-t", "60", "-w", "restart"}, reason);
}

std::string PostgresCluster::freshDatabase(std::string& reason)
{
    std::string name = "runs" + std::to_string(++databases_);
    if (!run("createdb", {"-h", folder_, "-p", kPort, "-U", "scores", name}, reason)) return "";
    return "postgresql://scores@/" + name + "?host=" + folder_ + "&port=" + kPort;
}

bool PostgresCluster::run(const std::string& program, const std::vector<std::string>& arguments, std::string& reason)
{
    std::vector<std::string> words;
    if (::geteuid() == 0) words = {"runuser", "-u", kServerUser, "--"};
    words.push_back(programs_ + "/" + program);
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    std::string log = folder_ + "/commands.log";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t child = 0;
    int failed = ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (failed == 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
    reason = program + " failed; its output:\n" + logTail(log) + logTail(folder_ + "/server.log");
    return false;
}
