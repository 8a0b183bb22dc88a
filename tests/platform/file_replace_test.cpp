// Replacing a file keeps what the user set up around it: a read-only file is refused
// (checked as an ordinary user even when the tests run as root), a link stays a link
// and its target gets the new contents, mode and owner survive, and the folder is
// synced after the rename so the new name outlives a power cut.
#include "platform/file_replace.h"
#include "support/ordinary_user.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<bool> fsyncedFolders; // for each fsync since the last clear: was it a folder?

struct FchmodCall {
    off_t sizeBefore;
    mode_t modeBefore;
};
std::vector<FchmodCall> fchmodCalls; // since the last clear

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

const ChildTask kReplaceShip("FileReplace.replaceShip", [](const std::vector<std::string>&) {
    std::string reason;
    return replaceFile("data/model/Ship.mdata", "new", reason);
});

const ChildTask kReplaceShipInAFolderTakingNoFile("FileReplace.replaceShipInAFolderTakingNoFile",
                                                 [](const std::vector<std::string>&) {
    std::string reason;
    return !replaceFile("data/model/Ship.mdata", "new", reason) && reason == "data/model: Permission denied";
});

// Saves the ship a hundred times, every byte the digit given.
const ChildTask kSaveShipOften("FileReplace.saveShipOften", [](const std::vector<std::string>& digit) {
    const std::string bytes(100000, digit.at(0).at(0));
    bool allSaved = true;
    for (int save = 0; save < 100; ++save) {
        std::string reason;
        allSaved = replaceFile("data/model/Ship.mdata", bytes, reason) && allSaved;
    }
    return allSaved;
});

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

// And every fchmod, with what the file held and allowed just before it.
extern "C" int fchmod(int handle, mode_t mode)
{
    struct stat info {};
    ::fstat(handle, &info);
    fchmodCalls.push_back({info.st_size, info.st_mode & 07777});
    return static_cast<int>(::syscall(SYS_fchmod, handle, mode));
}

TEST_F(FileReplace, ReadOnlyFile_IsRefusedAndKeptAsItWas)
{
    // The folder is open to everybody, so only the file's own mode can refuse.
    ASSERT_EQ(::chmod(scratch.path().c_str(), 0777), 0);
    ASSERT_EQ(::chmod("data", 0777), 0);
    ASSERT_EQ(::chmod("data/model", 0777), 0);
    write("data/model/Ship.mdata", "old");
    ASSERT_EQ(::chmod("data/model/Ship.mdata", 0444), 0);

    EXPECT_FALSE(asOrdinaryUser(kReplaceShip));
    EXPECT_EQ(contentsOf("data/model/Ship.mdata"), "old");
    EXPECT_EQ(modeOf("data/model/Ship.mdata"), 0444u);
    EXPECT_EQ(std::vector<fs::path>(fs::directory_iterator("data/model"), {}).size(), 1u) << "no temporary left";
}

// A writable file in a folder that takes no new file: the message names the folder.
TEST_F(FileReplace, TemporaryThatCannotBeMade_NamesTheFolder)
{
    write("data/model/Ship.mdata", "old");
    ASSERT_EQ(::chmod(scratch.path().c_str(), 0777), 0);
    ASSERT_EQ(::chmod("data", 0777), 0);
    ASSERT_EQ(::chmod("data/model/Ship.mdata", 0666), 0);
    ASSERT_EQ(::chmod("data/model", 0555), 0);
    const bool named = asOrdinaryUser(kReplaceShipInAFolderTakingNoFile);
    ASSERT_EQ(::chmod("data/model", 0755), 0);
    EXPECT_TRUE(named);
    EXPECT_EQ(contentsOf("data/model/Ship.mdata"), "old");

    EXPECT_FALSE(replaceFile("data/gone/Ship.mdata", "new", error));
    EXPECT_EQ(error, "data/gone: No such file or directory");
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

// Whatever waits at the old fixed temporary name is left alone: a link to another file
// (which would have been overwritten), a FIFO (which would have hung the save).
TEST_F(FileReplace, WhatLiesAtTheTemporarysOldName_IsNeitherFollowedNorOpened)
{
    write("data/model/Ship.mdata", "old");
    write("other.txt", "someone else's");
    fs::create_symlink("../../other.txt", "data/model/Ship.mdata.saving");
    ASSERT_TRUE(replaceFile("data/model/Ship.mdata", "new", error)) << error;
    EXPECT_FALSE(fs::is_symlink("data/model/Ship.mdata"));
    EXPECT_EQ(contentsOf("data/model/Ship.mdata"), "new");
    EXPECT_EQ(contentsOf("other.txt"), "someone else's");

    fs::remove("data/model/Ship.mdata.saving");
    ASSERT_EQ(::mkfifo("data/model/Ship.mdata.saving", 0600), 0);
    ASSERT_TRUE(replaceFile("data/model/Ship.mdata", "newer", error)) << error;
    EXPECT_EQ(contentsOf("data/model/Ship.mdata"), "newer");
    EXPECT_EQ(std::vector<fs::path>(fs::directory_iterator("data/model"), {}).size(), 2u) << "no temporary left";
}

// The new contents are never readable by others, not even for a moment: the temporary
// is made private and gets the target's mode while it is still empty.
TEST_F(FileReplace, TheTemporary_HasItsModeBeforeItHoldsAByte)
{
    write("data/model/Ship.mdata", "old");
    ASSERT_EQ(::chmod("data/model/Ship.mdata", 0600), 0);
    fchmodCalls.clear();
    ASSERT_TRUE(replaceFile("data/model/Ship.mdata", "secret", error)) << error;
    ASSERT_EQ(fchmodCalls.size(), 1u);
    EXPECT_EQ(fchmodCalls[0].sizeBefore, 0) << "written before its mode was set";
    EXPECT_EQ(fchmodCalls[0].modeBefore & 077, 0u) << "made readable by others";
    EXPECT_EQ(modeOf("data/model/Ship.mdata"), 0600u);

    // A new file gets what open() would give it.
    const mode_t mask = ::umask(027);
    ASSERT_TRUE(replaceFile("data/model/New.mdata", "new", error)) << error;
    ::umask(mask);
    EXPECT_EQ(modeOf("data/model/New.mdata"), 0640u);
}

// Two editor windows saving one file at once: each save succeeds, and the file always
// holds one whole version, never a mix of both.
TEST_F(FileReplace, TwoSavesAtOnce_LeaveOneWholeVersion)
{
    const std::string first(100000, '1'), second(100000, '2');
    write("data/model/Ship.mdata", first);
    const pid_t writers[] = {kSaveShipOften.start({"1"}), kSaveShipOften.start({"2"})};
    bool alwaysWhole = true;
    for (int look = 0; look < 200; ++look) {
        const std::string seen = contentsOf("data/model/Ship.mdata");
        alwaysWhole = alwaysWhole && (seen == first || seen == second);
    }
    for (const pid_t writer : writers) EXPECT_TRUE(childSucceeded(writer)) << "a save failed";
    EXPECT_TRUE(alwaysWhole);
    const std::string last = contentsOf("data/model/Ship.mdata");
    EXPECT_TRUE(last == first || last == second);
}
