// The leaderboard client: the server's answers read field by field, and kept runs of
// the day sent from the result screen through the real HTTP path to the real server
// program on 127.0.0.1, which replays them: a forged one refused with its reason, the
// golden challenge run verified and ranked.
#include "support/scratch_folder.h"
#include "app/board_reply.h"
#include "app/result_screen.h"
#include "app/result_view.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

namespace {

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
            const std::string text = output();
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

TEST(BoardUpload, TheRealServerRanksTheGoldenRunAfterRefusingAForgedCopyWithItsReason)
{
#ifdef CHILD_TASK_EMULATOR
    GTEST_SKIP() << "under Debian 12's qemu-user the server's second thread spins for ever";
#endif
    ScratchFolder scratch("board_upload");
    const ServerProcess server(scratch.path());
    const std::string address = server.address();
    ASSERT_FALSE(address.empty()) << "the server did not say where it listens:\n" << server.output();
    const std::string golden = std::string(SOURCE_DIR) + "/tests/data/demos/challenge_2026_12_01.demo";
    // The same inputs claiming another score: refused, and blocking the true run nobody.
    std::string forgedBytes;
    {
        std::ifstream in(golden, std::ios::binary);
        forgedBytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    forgedBytes[forgedBytes.size() - 27] ^= 0x40; // the claimed score, in the end record's last 33 bytes
    const std::filesystem::path forged = scratch.path() / "forged.demo";
    std::ofstream(forged, std::ios::binary) << forgedBytes;

    ScratchFolder forgedScratch("board_upload");
    ResultScreen refused = enteredRun(forgedScratch, address, false, forged.string());
    finalVerdict(refused);
    EXPECT_TRUE(refused.upload->verdict.starts_with("Leaderboard: refused: ")) << refused.upload->verdict;
    EXPECT_GT(refused.upload->verdict.size(), std::string("Leaderboard: refused: ").size() + 5);

    ResultScreen screen = enteredRun(scratch, address, false, golden);
    EXPECT_EQ(resultLines(screen).lines[4], "Leaderboard: checking...");
    finalVerdict(screen);
    EXPECT_EQ(screen.upload->verdict, "Leaderboard: verified, rank 1 of 2026-12-01 at " + address) << server.output();
}

TEST(BoardUpload, NoAnswerIsSaidInWordsAndTheEntryKept_AndATestRunIsNeverSent)
{
    const std::string nobody = "http://127.0.0.1:1"; // a port no server listens on
    ScratchFolder scratch("board_upload");
    ResultScreen screen = enteredRun(scratch, nobody);
    finalVerdict(screen); // the screen fits it to its columns
    EXPECT_EQ(screen.upload->verdict, "Leaderboard: no answer from " + nobody + " (Couldn't connect to server)");
    EXPECT_FALSE(screen.enteredFile.empty()) << "the local entry depends on the network";

    ScratchFolder shortenedScratch("board_upload");
    const ResultScreen shortened = enteredRun(shortenedScratch, nobody, true);
    EXPECT_FALSE(shortened.enteredFile.empty());
    EXPECT_FALSE(shortened.upload) << "a shortened test run was sent";
}
