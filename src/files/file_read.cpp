// One way to open a file for reading: O_NONBLOCK so that open() itself never waits
// (a FIFO without a writer would), then fstat on what was opened, never on the name,
// so the file checked is the file read.
#include "files/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

std::string sizeInWords(uint64_t bytes)
{
    return bytes % (uint64_t(1) << 20) == 0 ? std::to_string(bytes >> 20) + " MiB" : std::to_string(bytes) + " bytes";
}

// The open file when it may be read, else -1 with the problem; size is its length.
int openChecked(const std::string& path, const FileKind& kind, size_t& size, std::string& problem)
{
    problem.clear();
    const int file = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0) {
        problem = std::strerror(errno);
        return -1;
    }
    struct stat info {};
    if (::fstat(file, &info) != 0) {
        problem = std::strerror(errno);
    } else if (S_ISDIR(info.st_mode)) {
        problem = std::string("is a folder, not a ") + kind.name;
    } else if (!S_ISREG(info.st_mode)) {
        problem = "is not a regular file";
    } else if (uint64_t(info.st_size) > kind.largest) {
        problem = std::string("is larger than a ") + kind.name + " can be (" + sizeInWords(kind.largest) + ")";
    }
    if (!problem.empty()) {
        ::close(file);
        return -1;
    }
    // A regular file never blocks, but a stream over it should not see EAGAIN either.
    ::fcntl(file, F_SETFL, ::fcntl(file, F_GETFL) & ~O_NONBLOCK);
    size = static_cast<size_t>(info.st_size);
    return file;
}

} // namespace

bool noFileAt(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) != 0 && errno == ENOENT;
}

bool readWholeFile(const std::string& path, const FileKind& kind, FileBytes& bytes, std::string& problem)
{
    size_t size = 0;
    const int file = openChecked(path, kind, size, problem);
    if (file < 0) return false;
    bytes.data = allocateBytes(size);
    bytes.size = 0;
    if (!bytes.data) problem = "is too large to hold in memory";
    while (bytes.data && bytes.size < size) {
        const ssize_t got = ::read(file, bytes.data.get() + bytes.size, size - bytes.size);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) problem = std::strerror(errno);
        if (got <= 0) break;
        bytes.size += static_cast<size_t>(got);
    }
    ::close(file);
    return problem.empty();
}

std::FILE* openRegularFile(const std::string& path, const FileKind& kind, std::string& problem)
{
    size_t size = 0;
    const int file = openChecked(path, kind, size, problem);
    if (file < 0) return nullptr;
    std::FILE* stream = ::fdopen(file, "rb");
    if (!stream) {
        problem = std::strerror(errno);
        ::close(file);
    }
    return stream;
}
