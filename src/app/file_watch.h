// Notices when a file is saved anew, for a program that should follow a file
// another program writes. It looks at the file's modification time, size and
// identity (a save that renames a new file over the old one changes the identity
// even within one tick of the clock), and only once a second by the caller's clock.
#pragma once

#include <sys/types.h>

#include <ctime>
#include <string>

struct FileStamp {
    bool exists = false;
    timespec modified{};
    off_t size = 0;
    dev_t device = 0;
    ino_t inode = 0;
};

class FileWatch {
public:
    FileWatch() = default;
    // Remembers the file as it is now; now is the caller's clock in seconds.
    FileWatch(std::string path, double now);

    const std::string& path() const { return path_; }
    // True once for each change seen: when a second has passed since the last look
    // and the file's stamp differs from the one seen at that look.
    bool changed(double now);

private:
    std::string path_;
    FileStamp seen_;
    double lastLook_ = 0.0;
};
