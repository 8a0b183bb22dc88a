// Reading the files a program opens on its own (settings, the desktop's folder list,
// ship models, pictures, sounds, demos) so that no file can stall or flood it: opened
// without waiting, so a FIFO cannot hang the start; read only when it is a regular file
// within the size its kind may have, so a link to /dev/zero cannot fill the memory;
// held in memory that reports running out (byte_block.h).
#pragma once

#include "files/byte_block.h"

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

// What a file is to the user ("settings file") and the most bytes one may hold.
struct FileKind {
    const char* name;
    uint64_t largest;
};

struct FileBytes {
    ByteBlock data;
    size_t size = 0;

    std::span<const uint8_t> bytes() const { return {data.get(), size}; }
    std::string_view text() const { return {reinterpret_cast<const char*>(data.get()), size}; }
};

// Nothing is there, not even a dangling link's target: no file, rather than a bad one.
bool noFileAt(const std::string& path);

// The whole file, or false with the problem in words ("is not a regular file", "is
// larger than a settings file can be (1 MiB)", or the system's own reason). A file
// that shrinks while it is read is read as far as it went.
bool readWholeFile(const std::string& path, const FileKind& kind, FileBytes& bytes, std::string& problem);

// The same checks, for a reader that streams the file itself: the file opened for
// reading, or nullptr with the problem.
std::FILE* openRegularFile(const std::string& path, const FileKind& kind, std::string& problem);
