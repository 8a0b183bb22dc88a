// Looking at a file costs one stat call; once a second keeps that off the frame loop.
#include "app/file_watch.h"

#include <sys/stat.h>

#include <utility>

namespace {

constexpr double kLookInterval = 1.0;

// The file's stamp now; exists is false when it cannot be looked at.
FileStamp stampOf(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return {};
    return {true, status.st_mtim, status.st_size, status.st_dev, status.st_ino};
}

bool operator==(const FileStamp& a, const FileStamp& b)
{
    if (a.exists != b.exists) return false;
    if (!a.exists) return true;
    return a.modified.tv_sec == b.modified.tv_sec && a.modified.tv_nsec == b.modified.tv_nsec && a.size == b.size &&
           a.device == b.device && a.inode == b.inode;
}

} // namespace

FileWatch::FileWatch(std::string path, double now) : path_(std::move(path)), seen_(stampOf(path_)), lastLook_(now) {}

bool FileWatch::changed(double now)
{
    if (path_.empty() || now - lastLook_ < kLookInterval) return false;
    lastLook_ = now;
    FileStamp stamp = stampOf(path_);
    if (stamp == seen_) return false;
    seen_ = stamp;
    return true;
}
