// Replacing a file keeps what the user set up around it: a read-only file is refused
// (checked as an ordinary user even when the tests run as root), a link stays a link
// and its target gets the new contents, mode and owner survive, and the folder is
// synced after the rename so the new name outlives a power cut.
#include "platform/file_replace.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr uid_t kNobody = 65534;

std::vector<bool> fsyncedFolders; // for each fsync since the last clear: was it a folder?

std::string contentsOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

mode_t modeOf(const std::string& path)
{
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

// Runs the call as an ordinary user: as root in a child that has given up its rights
// (root may write anything, which would hide the refusal), otherwise directly.
template <typename Call>
bool asOrdinaryUser(Call call)
{
    if (::geteuid() != 0) return call();
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped = ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
        ::_exit(dropped && call() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class FileReplace : public ::testing::Test {
protected:
    ScratchFolder scratch{"file_replace_test"};
    std::string error;
};

} // namespace

// Every fsync of the test program passes through here and is then made for real.
extern "C" int fsync(int handle)
{
    struct stat info {};
    fsyncedFolders.push_back(::fstat(handle, &info) == 0 && S_ISDIR(info.st_mode));
    return static_cast<int>(::syscall(SYS_fsync, handle));
}

TEST_F(FileReplace, ReadOnlyFile_IsRefusedAndKeptAsItWas)
{
    // The folder is open to everybody, so only the file's own mode can refuse.
    ASSERT_EQ(::chmod(scratch.path().c_str(), 0777), 0);
    ASSERT_EQ(::chmod("data", 0777), 0);
    ASSERT_EQ(::chmod("data/model", 0777), 0);
    write("data/model/Ship.mdata", "old");
    ASSERT_EQ(::chmod("data/model/Ship.mdata", 0444), 0);

    EXPECT_FALSE(asOrdinaryUser([] {
        std::string reason;
        return replaceFile("data/model/Ship.mdata", "new", reason);
    }));
    EXPECT_EQ(contentsOf("data/model/Ship.mdata"), "old");
    EXPECT_EQ(modeOf("data/model/Ship.mdata"), 0444u);
    EXPECT_FALSE(fs::exists("data/model/Ship.mdata.saving"));
}

TEST_F(FileReplace, Link_StaysALinkAndItsTargetGetsTheNewContents)
{
    fs::create_directory("ships");
    write("ships/mine.mdata", "old");
    fs::create_symlink("../../ships/mine.mdata", "data/model/Ship.mdata"); // relative to the link's folder

    ASSERT_TRUE(replaceFile("data/model/Ship.mdata", "new", error)) << error;
    EXPECT_TRUE(fs::is_symlink("data/model/Ship.mdata"));
    EXPECT_EQ(contentsOf("ships/mine.mdata"), "new");
    EXPECT_EQ(std::vector<fs::path>(fs::directory_iterator("ships"), {}), std::vector<fs::path>{"ships/mine.mdata"});
}

TEST_F(FileReplace, LinkToAFileNotMadeYet_CreatesItWhereTheLinkPoints)
{
    fs::create_symlink("Later.mdata", "data/model/Ship.mdata");
    ASSERT_TRUE(replaceFile("data/model/Ship.mdata", "new", error)) << error;
    EXPECT_TRUE(fs::is_symlink("data/model/Ship.mdata"));
    EXPECT_EQ(contentsOf("data/model/Later.mdata"), "new");
}

TEST_F(FileReplace, ModeAndOwner_AreKept)
{
    write("data/model/Ship.mdata", "old");
    ASSERT_EQ(::chmod("data/model/Ship.mdata", 0640), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown("data/model/Ship.mdata", kNobody, kNobody), 0);
    }

    ASSERT_TRUE(replaceFile("data/model/Ship.mdata", "new", error)) << error;
    struct stat info {};
    ASSERT_EQ(::stat("data/model/Ship.mdata", &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(info.st_uid, kNobody);
        EXPECT_EQ(info.st_gid, kNobody);
    }
}

TEST_F(FileReplace, AfterTheRename_TheFolderIsSynced)
{
    write("data/model/Ship.mdata", "old");
    fsyncedFolders.clear();
    ASSERT_TRUE(replaceFile("data/model/Ship.mdata", "new", error)) << error;
    // The file first, then the folder that holds its new name.
    EXPECT_EQ(fsyncedFolders, (std::vector<bool>{false, true}));
}

TEST_F(FileReplace, ALinkAtTheTemporarysName_NeverReplacesTheFile)
{
    write("data/model/Ship.mdata", "old");
    fs::create_symlink("/dev/null", "data/model/Ship.mdata.saving");
    EXPECT_FALSE(replaceFile("data/model/Ship.mdata", "new", error));
    EXPECT_FALSE(fs::is_symlink("data/model/Ship.mdata"));
    EXPECT_EQ(contentsOf("data/model/Ship.mdata"), "old");
    EXPECT_NE(error.find("Ship.mdata.saving"), std::string::npos) << error;
}
