// The leaderboard client: the server's answers read field by field, a kept run of the
// day sent from the result screen through the real HTTP path to a scripted server on
// 127.0.0.1, whose answers walk it from "checking..." to a rank or a refusal, and the
// golden challenge run sent to the real server program, which replays and ranks it.
#include "support/scratch_folder.h"
#include "app/board_reply.h"
#include "app/result_screen.h"
#include "app/result_view.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <functional>
#include <thread>

namespace {

// Answers each request with what answer() makes of its first line and body, one
// connection at a time, until destroyed.
class ScriptedServer {
public:
    using Answer = std::function<std::string(const std::string& requestLine, const std::string& body)>;
    explicit ScriptedServer(Answer answer) : answer_(std::move(answer))
    {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 || listen(listener_, 8) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
            ADD_FAILURE() << "no port to listen on";
        }
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~ScriptedServer()
    {
        stopping_ = true;
        shutdown(listener_, SHUT_RDWR);
        thread_.join();
        close(listener_);
    }
    std::string address() const { return "http://127.0.0.1:" + std::to_string(port_); }

private:
    void serve()
    {
        for (int client; !stopping_ && (client = accept(listener_, nullptr, nullptr)) >= 0; close(client)) {
            std::string request;
            char chunk[4096];
            size_t headerEnd = std::string::npos, length = 0;
            while (headerEnd == std::string::npos || request.size() < headerEnd + 4 + length) {
                const ssize_t got = read(client, chunk, sizeof chunk);
                if (got <= 0) break;
                request.append(chunk, size_t(got));
                headerEnd = request.find("\r\n\r\n");
                const size_t field = request.find("Content-Length: ");
                if (field != std::string::npos && field < headerEnd) length = std::stoul(request.substr(field + 16));
            }
            if (headerEnd == std::string::npos) continue;
            const std::string json = answer_(request.substr(0, request.find("\r\n")), request.substr(headerEnd + 4));
            const std::string status = json.substr(0, 3), body = json.substr(4);
            const std::string reply = "HTTP/1.1 " + status + " X\r\nContent-Type: application/json\r\nContent-Length: " +
                                      std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
            if (write(client, reply.data(), reply.size()) < 0) ADD_FAILURE() << "the reply was not written";
        }
    }
    Answer answer_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

// The leaderboard server program on a free port of 127.0.0.1 with an SQLite file in
// folder, its day set to the golden run's next, when the run is still taken.
class ServerProcess {
public:
    explicit ServerProcess(const std::filesystem::path& folder) : output_(folder / "server.out")
    {
        std::vector<std::string> words = {SERVER_PROGRAM, "--listen", "127.0.0.1:0", "--database",
                                          "sqlite:" + (folder / "runs.sqlite").string()};
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        std::vector<std::string> variables = {"SPACE_GAME_SERVER_TODAY=2026-12-02"};
        for (char** variable = environ; *variable; ++variable) variables.emplace_back(*variable);
        std::vector<char*> envp;
        for (std::string& variable : variables) envp.push_back(variable.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = 0;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~ServerProcess()
    {
        if (pid_ == 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    // "http://127.0.0.1:PORT" once the server says where it listens (within 30 s), or "".
    std::string address() const
    {
        for (int wait = 0; pid_ != 0 && wait < 300; ++wait) {
            std::stringstream said;
            said << std::ifstream(output_).rdbuf();
            const std::string text = said.str();
            const size_t at = text.find("http://127.0.0.1:");
            const size_t end = text.find('/', at + 7);
            if (at != std::string::npos && end != std::string::npos) return text.substr(at, end - at);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return "";
    }
    std::string output() const
    {
        std::stringstream said;
        said << std::ifstream(output_).rdbuf();
        return said.str();
    }

private:
    std::filesystem::path output_;
    pid_t pid_ = 0;
};

constexpr std::time_t kFinished = 1796713200; // 2026-12-08T07:00:00Z

// A run of the day (or a shortened test run) entered under a name, with the leaderboard
// at server; its demo the bytes given, or a copy of the file given.
ResultScreen enteredRun(const ScratchFolder& scratch, const std::string& server, bool shortened = false,
                        const std::string& demoFile = "")
{
    const std::string demo = (scratch.path() / "run.demo").string();
    if (demoFile.empty()) std::ofstream(demo) << "the demo's bytes";
    else std::filesystem::copy_file(demoFile, demo);
    const ChallengeResult run{.day = {2026, 12, 8}, .score = 420, .level = 3, .demoPath = demo, .practice = false, .shortened = shortened};
    ResultScreen screen = openResultScreen(run, (scratch.path() / "challenge").string(), kFinished);
    screen.leaderboard = server;
    ResultInput input;
    input.name.text = "Ada Lovelace";
    input.name.confirm = true;
    updateResultScreen(screen, input);
    return screen;
}

// The line the screen shows once the leaderboard has had its last word, within 60 s
// of real time; the game's clock goes on a tenth of a second a turn.
std::string finalVerdict(ResultScreen& screen)
{
    const auto start = std::chrono::steady_clock::now();
    while (screen.upload && screen.upload->stage != BoardUpload::Stage::done &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(60)) {
        headless::advanceTime(0.1);
        followBoardUpload(*screen.upload, REAL_SECONDS());
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return screen.upload ? resultLines(screen).lines[4] : "(nothing sent)";
}

} // namespace

TEST(BoardReply, ReadsTopLevelFieldsOnlyAndRefusesOtherKinds)
{
    const std::string json = R"({"runs": [{"rank": 9, "name": "x"}], "name": "A\"b\\c\u0041", "rank": 12,
                                 "day": null, "score": 1.5, "id": "r-7"})";
    EXPECT_EQ(jsonText(json, "name"), "A\"b\\cA");
    EXPECT_EQ(jsonNumber(json, "rank"), 12) << "the nested rank was taken";
    EXPECT_EQ(jsonText(json, "id"), "r-7");
    EXPECT_EQ(jsonText(json, "day"), std::nullopt);
    EXPECT_EQ(jsonNumber(json, "score"), std::nullopt) << "a fraction is no rank";
    EXPECT_EQ(jsonText(json, "rank"), std::nullopt);
    EXPECT_EQ(jsonText(json, "missing"), std::nullopt);
    for (const char* broken : {"", "[1]", "{\"id\": \"unterminated", "{\"a\" 1, \"id\": \"x\"}", "<html>"}) {
        EXPECT_EQ(jsonText(broken, "id"), std::nullopt) << broken;
    }
    EXPECT_EQ(percentEncoded("Ada L/é&=~"), "Ada%20L%2F%C3%A9%26%3D~");
}

TEST(BoardUpload, AnEnteredRunIsSentCheckedAndRanked)
{
    std::string sent;
    int asked = 0;
    ScriptedServer server([&](const std::string& line, const std::string& body) -> std::string {
        if (line == "GET /api/info HTTP/1.1") return R"(200 {"day": "2026-12-08", "rules": 2})";
        if (line == "POST /api/runs?name=Ada%20Lovelace HTTP/1.1") {
            sent = body;
            return R"(202 {"id": "r1", "status": "pending", "delete_token": "t"})";
        }
        if (line != "GET /api/runs/r1 HTTP/1.1") return R"(404 {"error": "no such page"})";
        return ++asked < 3 ? R"(200 {"id": "r1", "status": "pending", "rank": null})"
                           : R"(200 {"id": "r1", "day": "2026-12-08", "status": "verified", "rank": 2})";
    });
    ScratchFolder scratch("board_upload");
    ResultScreen screen = enteredRun(scratch, server.address());
    ASSERT_FALSE(screen.enteredFile.empty()) << "the run was not entered locally";
    EXPECT_EQ(resultLines(screen).lines[4], "Leaderboard: checking...");
    EXPECT_EQ(finalVerdict(screen), "Leaderboard: verified, rank 2 of 2026-12-08 at " + server.address());
    EXPECT_EQ(sent, "the demo's bytes");
    EXPECT_EQ(asked, 3) << "asked again after the verdict, or not until it";
}

TEST(BoardUpload, RefusalsAndSilenceAreSaidInWordsAndOnlyRealRunsGo)
{
    struct Case {
        const char* what;
        std::string runAnswer; // to GET /api/runs/r1
        std::string postAnswer;
        std::string verdict;
    } cases[] = {
        {"a rejected replay", R"(200 {"status": "rejected", "reason": "the replay ends elsewhere"})",
         R"(202 {"id": "r1"})", "Leaderboard: refused: the replay ends elsewhere"},
        {"a refused upload", "", R"(429 {"error": "too many runs from one address"})",
         "Leaderboard: too many runs from one address"},
        {"a verified run sent again", R"(200 {"status": "verified", "day": "2026-12-08", "rank": 1})",
         R"(200 {"id": "r1", "status": "verified"})", "verified, rank 1 of 2026-12-08"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedServer server([&](const std::string& line, const std::string&) -> std::string {
            if (line.starts_with("GET /api/info")) return R"(200 {"day": "2026-12-08"})";
            return line.starts_with("POST") ? c.postAnswer : c.runAnswer;
        });
        ScratchFolder scratch("board_upload");
        ResultScreen screen = enteredRun(scratch, server.address());
        EXPECT_NE(finalVerdict(screen).find(c.verdict), std::string::npos) << finalVerdict(screen);
    }
    ScratchFolder scratch("board_upload");
    std::string unused;
    {
        ScriptedServer gone([](const std::string&, const std::string&) { return std::string("404 {}"); });
        unused = gone.address(); // nothing listens there once it is gone
    }
    ResultScreen screen = enteredRun(scratch, unused);
    finalVerdict(screen); // the screen fits it to its columns
    EXPECT_EQ(screen.upload->verdict, "Leaderboard: no answer from " + unused + " (Couldn't connect to server)");
    EXPECT_FALSE(screen.enteredFile.empty()) << "the local entry depends on the network";

    ScratchFolder shortenedScratch("board_upload");
    const ResultScreen shortened = enteredRun(shortenedScratch, unused, true);
    EXPECT_FALSE(shortened.enteredFile.empty());
    EXPECT_FALSE(shortened.upload) << "a shortened test run was sent";
}

TEST(BoardUpload, TheGoldenChallengeRunIsVerifiedAndRankedByTheRealServer)
{
    ScratchFolder scratch("board_upload");
    const ServerProcess server(scratch.path());
    const std::string address = server.address();
    ASSERT_FALSE(address.empty()) << "the server did not say where it listens:\n" << server.output();
    ResultScreen screen =
        enteredRun(scratch, address, false, std::string(SOURCE_DIR) + "/tests/data/demos/challenge_2026_12_01.demo");
    EXPECT_EQ(resultLines(screen).lines[4], "Leaderboard: checking...");
    finalVerdict(screen);
    EXPECT_EQ(screen.upload->verdict, "Leaderboard: verified, rank 1 of 2026-12-01 at " + address) << server.output();
}
