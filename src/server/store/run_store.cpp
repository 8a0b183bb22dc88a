// Choosing the store by the database's address, and the little both stores share.
#include "server/store/run_store.h"

#include "server/store/store_backends.h"

#include <sys/random.h>

#include <array>
#include <cerrno>
#include <cstring>

const char* runStatusName(RunStatus status)
{
    switch (status) {
    case RunStatus::Pending: return "pending";
    case RunStatus::Verified: return "verified";
    case RunStatus::Rejected: return "rejected";
    }
    return "pending";
}

RunStatus parseRunStatus(const std::string& name)
{
    for (RunStatus status : {RunStatus::Pending, RunStatus::Verified, RunStatus::Rejected})
        if (name == runStatusName(status)) return status;
    throw RunStoreError("the database holds a run of unknown status \"" + name + "\"");
}

std::string randomToken()
{
    std::array<unsigned char, 16> bytes{};
    size_t filled = 0;
    while (filled < bytes.size()) {
        ssize_t got = ::getrandom(bytes.data() + filled, bytes.size() - filled, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw RunStoreError(std::string("no random numbers from the kernel: ") + std::strerror(errno));
        filled += size_t(got);
    }
    return hexText(bytes);
}

std::string hexText(std::span<const unsigned char> bytes)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    for (unsigned char byte : bytes) {
        text += kHex[byte >> 4];
        text += kHex[byte & 15];
    }
    return text;
}

std::unique_ptr<RunStore> openRunStore(const std::string& database, std::string& error)
{
    static constexpr std::string_view kSqlite = "sqlite:";
    try {
        if (database.starts_with(kSqlite)) return openSqliteRunStore(database.substr(kSqlite.size()));
        if (database.starts_with("postgresql://") || database.starts_with("postgres://"))
            return openPostgresRunStore(database);
        error = "the database \"" + database + "\" is neither sqlite:PATH nor postgresql://...";
    } catch (const std::exception& failure) {
        error = failure.what();
    }
    return nullptr;
}
