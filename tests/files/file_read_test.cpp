// Files a program opens on its own: only a regular file within its kind's size is
// read, and anything else is refused at once with the problem in words, never waited
// on (a FIFO without a writer) or read without end (a link to /dev/zero).
#include "files/file_read.h"

#include "support/scratch_folder.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

TEST(FileRead, OnlyARegularFileWithinItsKindsSizeIsRead)
{
    ScratchFolder scratch("file_read");
    constexpr FileKind kNote{"note", 16};
    std::ofstream("full.txt") << std::string(16, 'n');
    std::ofstream("over.txt") << std::string(17, 'n');
    ASSERT_EQ(::mkfifo("fifo.txt", 0600), 0);
    std::filesystem::create_symlink("/dev/zero", "zero.txt");
    const struct {
        const char* path;
        const char* problem; // empty: read whole
    } rows[] = {
        {"full.txt", ""},
        {"over.txt", "is larger than a note can be (16 bytes)"},
        {"fifo.txt", "is not a regular file"},
        {"zero.txt", "is not a regular file"},
        {"data", "is a folder, not a note"},
        {"absent.txt", "No such file or directory"},
    };
    for (const auto& row : rows) {
        FileBytes bytes;
        std::string problem;
        EXPECT_EQ(readWholeFile(row.path, kNote, bytes, problem), *row.problem == '\0') << row.path;
        EXPECT_EQ(problem, row.problem) << row.path;
        std::FILE* stream = openRegularFile(row.path, kNote, problem);
        EXPECT_EQ(stream != nullptr, *row.problem == '\0') << row.path;
        EXPECT_EQ(problem, row.problem) << row.path;
        if (stream) std::fclose(stream);
    }
    FileBytes bytes;
    std::string problem;
    ASSERT_TRUE(readWholeFile("full.txt", kNote, bytes, problem));
    EXPECT_EQ(bytes.text(), std::string(16, 'n'));
    EXPECT_TRUE(noFileAt("absent.txt"));
    EXPECT_FALSE(noFileAt("fifo.txt"));
}
