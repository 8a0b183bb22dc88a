// The game's choice between the player's own ship and the shipped one.
#include "game/player_ship_file.h"
#include "support/scratch_folder.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

namespace fs = std::filesystem;

// A closed outline of n lines whose vertex i is (i, -i): n tells the files apart.
std::string shipText(int lines, int recordsWritten)
{
    std::ostringstream text;
    text << lines - 1 << "\r\n";
    for (int i = 0; i < recordsWritten; ++i) {
        for (int value : {0, 0, 0, 0, i, -i, 0, 0}) text << value << "\r\n";
    }
    return text.str();
}

std::string zeroLines(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) text += "0\r\n";
    return text;
}

std::string contentsOf(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(PlayerShipFile, FliesTheOwnShipWhenWholeElseTheShippedOneSayingWhyOnce)
{
    const ScratchFolder scratch("player_ship_test");
    std::ofstream("shipped.mdata", std::ios::binary) << shipText(3, 3);
    struct Case {
        const char* what;
        std::function<void()> makeOwn;
        size_t linesFlown;
        const char* complaint; // on standard error, after "game: your ship own.mdata cannot be flown ("
    };
    const Case cases[] = {
        {"none", [] {}, 3, nullptr},
        {"whole", [] { std::ofstream("own.mdata", std::ios::binary) << shipText(5, 5); }, 5, nullptr},
        {"cut short", [] { std::ofstream("own.mdata", std::ios::binary) << shipText(5, 2); }, 3,
         "it ends before the last line its count announces"},
        {"empty", [] { std::ofstream("own.mdata", std::ios::binary); }, 3, "it holds no outline"},
        {"a folder", [] { fs::create_directory("own.mdata"); }, 3, "is a folder, not a model file"},
        {"a FIFO", [] { ::mkfifo("own.mdata", 0600); }, 3, "is not a regular file"}, // no writer: would wait
        // The editor's S on a file that was no model wrote one line of zeros.
        {"one line", [] { std::ofstream("own.mdata", std::ios::binary) << shipText(1, 1); }, 3,
         "it has 1 line; the game needs 4 for the nose, tail and flames"},
        {"three lines", [] { std::ofstream("own.mdata", std::ios::binary) << shipText(3, 3); }, 3,
         "it has 3 lines; the game needs 4 for the nose, tail and flames"},
        {"all in one point", [] { std::ofstream("own.mdata", std::ios::binary) << "3\r\n" << zeroLines(32); }, 3,
         "all its points lie in one place, so it is invisible"},
    };
    for (const Case& c : cases) {
        fs::remove_all("own.mdata");
        c.makeOwn();
        const std::string before = fs::is_regular_file("own.mdata") ? contentsOf("own.mdata") : "";
        Model ship;
        ::testing::internal::CaptureStderr();
        ::testing::internal::CaptureStdout();
        loadPlayerShip(ship, "shipped.mdata", "own.mdata");
        const std::string out = ::testing::internal::GetCapturedStdout();
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(ship.lines.size(), c.linesFlown) << c.what;
        EXPECT_EQ(out, "") << c.what;
        const std::string expected = c.complaint ? std::string("game: your ship own.mdata cannot be flown (") +
                                                       c.complaint + "); flying the shipped one\n"
                                                 : "";
        EXPECT_EQ(err, expected) << c.what;
        if (fs::is_regular_file("own.mdata")) {
            EXPECT_EQ(contentsOf("own.mdata"), before) << c.what << " is kept";
        }
    }
}
