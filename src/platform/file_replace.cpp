// replaceFile: follow the links to the real file, refuse what opening it for writing
// would refuse, make a temporary of a name nobody else holds beside it, give it the
// old file's owner and mode before a byte is in it, write and sync it, rename it into
// place and sync the folder, so that the new name itself survives a power cut.
#include "platform/file_replace.h"

#include "platform/backend.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// mkostemp replaces the Xs with a name no other file in the folder has.
const std::string kTemporaryPattern = ".saving-XXXXXX";
constexpr int kMostLinksFollowed = 40; // the kernel's own limit on nested links
constexpr mode_t kNewFileMode = 0666;  // narrowed by the user's umask, as for any new file
constexpr mode_t kPermissionBits = 07777;

std::string failure(const std::string& path, int number) { return path + ": " + std::strerror(number); }

std::string folderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file that path finally names. Links are followed one at a time, a relative
// one from its own folder, so a link to a file that does not exist yet still leads
// to the place where it will be made.
bool followLinks(std::string& path, std::string& error)
{
    for (int followed = 0; followed < kMostLinksFollowed; ++followed) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return true;
        std::vector<char> target(static_cast<size_t>(info.st_size) + 2);
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0 || static_cast<size_t>(length) >= target.size()) {
            error = failure(path, length < 0 ? errno : ENAMETOOLONG);
            return false;
        }
        const std::string next(target.data(), static_cast<size_t>(length));
        path = next.front() == '/' ? next : folderOf(path) + "/" + next;
    }
    error = failure(path, ELOOP);
    return false;
}

// An existing target must be a plain file that this user could open for writing: a
// read-only file stays read-only instead of being quietly swapped for a writable one.
bool mayReplace(const std::string& path, const struct stat& info, std::string& error)
{
    if (S_ISDIR(info.st_mode)) {
        error = failure(path, EISDIR);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error = path + ": not a regular file";
        return false;
    }
    const int probe = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (probe < 0) {
        error = failure(path, errno);
        return false;
    }
    ::close(probe);
    return true;
}

bool writeAll(int file, std::string_view bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(file, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written == 0) errno = ENOSPC; // a device that takes nothing more is full
        if (written <= 0) return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

// The mode a file made by open() would get. umask() can only be read by setting it,
// so it is put back at once; nothing in these programs makes files on another thread.
mode_t newFileMode()
{
    const mode_t mask = ::umask(0077);
    ::umask(mask);
    return kNewFileMode & ~mask;
}

// Owner first: changing it clears the set-user-ID bits, which the mode then restores.
// Only root may give a file away, so a plain user keeps at least the group.
void takeOverOwnerAndMode(int file, const struct stat* old)
{
    if (!old) {
        (void)::fchmod(file, newFileMode());
        return;
    }
    // When both fail, the file keeps the saver's own owner and group, as any new file has.
    [[maybe_unused]] const bool owned =
        ::fchown(file, old->st_uid, old->st_gid) == 0 || ::fchown(file, static_cast<uid_t>(-1), old->st_gid) == 0;
    (void)::fchmod(file, old->st_mode & kPermissionBits);
}

// Makes the temporary, readable by nobody else until it has the old file's owner and
// mode, then writes it and makes it durable. Created exclusively under a fresh name, it
// can be neither a link, a FIFO nor another save's temporary, so two saves at once
// each rename one whole version into place. On success temporary holds its name.
bool writeTemporary(const std::string& target, std::string_view bytes, const struct stat* old,
                    std::string& temporary, std::string& error)
{
    temporary = target + kTemporaryPattern;
    const int file = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (file < 0) {
        // The target may be perfectly writable: it is its folder that takes no new file.
        error = failure(folderOf(target), errno);
        return false;
    }
    takeOverOwnerAndMode(file, old);
    std::string problem;
    if (!writeAll(file, bytes) || ::fsync(file) != 0) problem = failure(temporary, errno);
    if (::close(file) != 0 && problem.empty()) problem = failure(temporary, errno);
    if (problem.empty()) return true;
    error = problem;
    ::unlink(temporary.c_str());
    return false;
}

// The rename is only durable once the folder that holds the new name is on disk too.
// Some file systems cannot sync a folder; the file itself is already safe then.
void syncFolder(const std::string& folder)
{
    const int handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0) return;
    (void)::fsync(handle);
    ::close(handle);
}

} // namespace

bool replaceFile(const std::string& path, std::string_view bytes, std::string& error)
{
    std::string target = path;
    if (!followLinks(target, error)) return false;
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && !mayReplace(target, old, error)) return false;
    // Same folder as the target, so the rename stays on one file system and is atomic.
    std::string temporary;
    if (!writeTemporary(target, bytes, exists ? &old : nullptr, temporary, error)) return false;
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        error = failure(target, errno);
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(folderOf(target));
    backend::fileSaved(target);
    return true;
}

bool moveFile(const std::string& from, const std::string& to, std::string& error)
{
    if (::rename(from.c_str(), to.c_str()) != 0) {
        error = "cannot move " + from + " to " + to + ": " + std::strerror(errno);
        return false;
    }
    backend::fileRemoved(from);
    backend::fileSaved(to);
    return true;
}

bool removeFile(const std::string& path, std::string& error)
{
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        error = "cannot remove " + failure(path, errno);
        return false;
    }
    backend::fileRemoved(path);
    return true;
}

void keepWrittenFile(const std::string& path) { backend::fileSaved(path); }

FileKept savedFileKept(const std::string& path, std::string& problem) { return backend::fileKept(path, problem); }
