// The load client of leaderboard_bench.sh: submits demos from many simulated clients,
// reads a board as fast as the server answers while it verifies, and waits for runs
// to settle and checks how they were ranked, all through the server's API.
//   leaderboard_load submit URL CLIENTS FILE...    the run ids, one a line, in file order
//   leaderboard_load read URL PATH STOP-FILE READERS RATE
//   leaderboard_load settle URL AT-LEAST TIMEOUT-SECONDS ID...
//   leaderboard_load check URL DAY ID...
#include <httplib.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using nlohmann::json;

// A server that asks a client to come back later is asked again after at most this
// long, so that the benchmark keeps its queue full.
constexpr int kLongestRetryWait = 5;

std::string fileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Each simulated client has an address of its own, read by a server that trusts
// 127.0.0.1 as its proxy, so that the per-address limits apply to each apart.
std::string clientAddress(size_t client) { return "10.0." + std::to_string(client / 200) + "." + std::to_string(client % 200 + 1); }

int submit(const std::string& url, size_t clients, const std::vector<std::string>& files)
{
    std::vector<std::string> ids(files.size());
    std::atomic<int> waits{0};
    std::atomic<bool> failed{false};
    std::vector<std::thread> threads;
    for (size_t client = 0; client < clients; ++client) {
        threads.emplace_back([&, client] {
            httplib::Client server(url);
            const httplib::Headers headers{{"X-Forwarded-For", clientAddress(client)}};
            for (size_t i = client; i < files.size() && !failed; i += clients) {
                const std::string body = fileBytes(files[i]);
                for (;;) {
                    const auto answer = server.Post("/api/runs?name=bench" + std::to_string(i), headers, body,
                                                    "application/octet-stream");
                    if (answer && (answer->status == 202 || answer->status == 200)) {
                        ids[i] = std::to_string(json::parse(answer->body).at("id").get<long long>());
                        break;
                    }
                    if (answer && (answer->status == 429 || answer->status == 503)) {
                        ++waits;
                        const int asked = std::atoi(answer->get_header_value("Retry-After").c_str());
                        std::this_thread::sleep_for(std::chrono::seconds(std::clamp(asked, 1, kLongestRetryWait)));
                        continue;
                    }
                    std::fprintf(stderr, "leaderboard_load: %s: %s\n", files[i].c_str(),
                                 answer ? (std::to_string(answer->status) + " " + answer->body).c_str()
                                        : httplib::to_string(answer.error()).c_str());
                    failed = true;
                    break;
                }
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    if (failed) return 1;
    for (const std::string& id : ids) std::printf("%s\n", id.c_str());
    std::fprintf(stderr, "submitted %zu runs from %zu clients; told to wait %d times (429/503)\n", files.size(), clients,
                 waits.load());
    return 0;
}

double percentile(const std::vector<double>& sorted, double share)
{
    return sorted.empty() ? 0 : sorted[std::min(sorted.size() - 1, size_t(share * double(sorted.size())))];
}

// The readers ask at a steady RATE a second between them, each request timed from
// when it was due, so that a server that falls behind shows it in the latency rather
// than by being asked less often; none waits for the verification to be starved.
int read(const std::string& url, const std::string& path, const std::string& stopFile, size_t readers, double rate)
{
    std::vector<std::vector<double>> latencies(readers);
    std::atomic<int> failures{0};
    std::atomic<bool> stop{false};
    const Clock::time_point start = Clock::now();
    const auto interval = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(double(readers) / rate));
    std::vector<std::thread> threads;
    for (size_t reader = 0; reader < readers; ++reader) {
        threads.emplace_back([&, reader] {
            httplib::Client server(url);
            server.set_keep_alive(true);
            Clock::time_point due = start + interval * reader / readers;
            while (!stop) {
                std::this_thread::sleep_until(due);
                const auto answer = server.Get(path);
                if (!answer || answer->status != 200) ++failures;
                latencies[reader].push_back(std::chrono::duration<double, std::milli>(Clock::now() - due).count());
                due += interval;
            }
        });
    }
    while (!std::filesystem::exists(stopFile)) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    stop = true;
    for (std::thread& thread : threads) thread.join();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::vector<double> all;
    for (const auto& some : latencies) all.insert(all.end(), some.begin(), some.end());
    std::sort(all.begin(), all.end());
    std::printf("%zu board reads in %.1f s by %zu readers asking %.0f/s: %.0f/s answered, p50 %.2f ms, p99 %.2f ms, "
                "max %.2f ms, %d failed\n",
                all.size(), seconds, readers, rate, double(all.size()) / seconds, percentile(all, 0.5),
                percentile(all, 0.99), all.empty() ? 0 : all.back(), failures.load());
    return failures == 0 ? 0 : 1;
}

json run(httplib::Client& server, const std::string& id)
{
    const auto answer = server.Get("/api/runs/" + id);
    return answer && answer->status == 200 ? json::parse(answer->body) : json{{"status", std::string("unanswered")}};
}

std::string status(const json& run) { return run.at("status").get<std::string>(); }

int settle(const std::string& url, size_t atLeast, int timeout, const std::vector<std::string>& ids)
{
    httplib::Client server(url);
    std::set<std::string> waiting(ids.begin(), ids.end());
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(timeout);
    while (ids.size() - waiting.size() < atLeast) {
        if (Clock::now() > deadline) {
            std::fprintf(stderr, "leaderboard_load: gave up after %d s waiting for %zu runs to settle: %zu settled\n",
                         timeout, atLeast, ids.size() - waiting.size());
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::seconds(1));
        std::erase_if(waiting, [&](const std::string& id) { return status(run(server, id)) != "pending"; });
    }
    return 0;
}

// Every run verified, their ranks 1 to N each once, and the board's page of them
// naming each run once with the rank the run itself gives.
int check(const std::string& url, const std::string& day, const std::vector<std::string>& ids)
{
    httplib::Client server(url);
    std::map<long long, long long> rankOf;
    std::set<long long> ranks;
    size_t verified = 0;
    for (const std::string& id : ids) {
        const json answer = run(server, id);
        if (status(answer) != "verified") {
            std::fprintf(stderr, "run %s: %s\n", id.c_str(), answer.dump().c_str());
            continue;
        }
        ++verified;
        rankOf[std::stoll(id)] = answer.at("rank").get<long long>();
        ranks.insert(answer.at("rank").get<long long>());
    }
    const bool ranksDistinct = ranks.size() == ids.size() && *ranks.begin() == 1 && *ranks.rbegin() == (long long)ids.size();
    const auto board = server.Get("/api/boards/" + day);
    std::set<long long> listed;
    bool boardAgrees = board && board->status == 200;
    for (const json& entry : boardAgrees ? json::parse(board->body).at("runs") : json::array()) {
        const long long id = entry.at("id").get<long long>();
        boardAgrees = boardAgrees && listed.insert(id).second && rankOf.count(id) && rankOf[id] == entry.at("rank").get<long long>();
    }
    std::printf("%zu of %zu runs verified, %zu lost; ranks 1 to %zu each once: %s; the board's %zu runs each once "
                "with their ranks: %s\n",
                verified, ids.size(), ids.size() - verified, ids.size(), ranksDistinct ? "yes" : "NO", listed.size(),
                boardAgrees ? "yes" : "NO");
    return verified == ids.size() && ranksDistinct && boardAgrees ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const auto rest = [&](size_t from) { return std::vector<std::string>(arguments.begin() + long(from), arguments.end()); };
    const std::string mode = arguments.empty() ? "" : arguments[0];
    if (mode == "submit" && arguments.size() >= 4) return submit(arguments[1], std::stoul(arguments[2]), rest(3));
    if (mode == "read" && arguments.size() == 6) {
        return read(arguments[1], arguments[2], arguments[3], std::stoul(arguments[4]), std::stod(arguments[5]));
    }
    if (mode == "settle" && arguments.size() >= 5) {
        return settle(arguments[1], std::stoul(arguments[2]), std::stoi(arguments[3]), rest(4));
    }
    if (mode == "check" && arguments.size() >= 4) return check(arguments[1], arguments[2], rest(3));
    std::fprintf(stderr, "usage: leaderboard_load (submit URL CLIENTS FILE... | read URL PATH STOP-FILE READERS RATE |"
                         " settle URL AT-LEAST TIMEOUT ID... | check URL DAY ID...)\n");
    return 2;
}
