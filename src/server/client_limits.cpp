#include "server/client_limits.h"

#include "app/settings_lines.h"

#include <algorithm>

namespace {

constexpr std::chrono::minutes kRateWindow{1};

} // namespace

std::string clientAddress(const std::string& connectedFrom, const std::string& forwardedFor,
                          const std::string& trustedProxy)
{
    if (trustedProxy.empty() || connectedFrom != trustedProxy) return connectedFrom;
    const size_t comma = forwardedFor.rfind(',');
    const std::string last = trimmed(comma == std::string::npos ? forwardedFor : forwardedFor.substr(comma + 1));
    return last.empty() ? connectedFrom : last;
}

bool ClientLimits::admitRun(const std::string& address, Clock::time_point now)
{
    const std::lock_guard lock(mutex_);
    forgetIdle(now);
    std::deque<Clock::time_point>& recent = recentRuns_[address];
    while (!recent.empty() && now - recent.front() >= kRateWindow) recent.pop_front();
    if (recent.size() >= kRunsPerMinute) return false;
    recent.push_back(now);
    return true;
}

std::vector<RunId> ClientLimits::pendingOf(const std::string& address)
{
    const std::lock_guard lock(mutex_);
    const auto found = pending_.find(address);
    return found == pending_.end() ? std::vector<RunId>{} : found->second;
}

void ClientLimits::addPending(const std::string& address, RunId id)
{
    const std::lock_guard lock(mutex_);
    if (!pendingAddress_.emplace(id, address).second) return;
    pending_[address].push_back(id);
}

void ClientLimits::settle(RunId id)
{
    const std::lock_guard lock(mutex_);
    const auto found = pendingAddress_.find(id);
    if (found == pendingAddress_.end()) return;
    std::vector<RunId>& ids = pending_[found->second];
    ids.erase(std::remove(ids.begin(), ids.end(), id), ids.end());
    if (ids.empty()) pending_.erase(found->second);
    pendingAddress_.erase(found);
}

// Once a minute, the addresses whose runs all left the window are dropped.
void ClientLimits::forgetIdle(Clock::time_point now)
{
    if (now - lastSweep_ < kRateWindow) return;
    lastSweep_ = now;
    std::erase_if(recentRuns_, [now](const auto& entry) {
        return entry.second.empty() || now - entry.second.back() >= kRateWindow;
    });
}
