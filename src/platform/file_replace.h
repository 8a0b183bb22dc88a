// Replacing a file's whole contents in one step, the way a careful editor saves: the
// new bytes go to a temporary file beside the target, are flushed to the disk, and
// are renamed over the target, so a crash or a full disk leaves the old file or the
// new one, never a mix. The target is treated as the user knows it: a symbolic link
// is followed and stays a link, the file's mode (and, where allowed, its owner and
// group) is kept, and a file that could not be opened for writing is not replaced.
#pragma once

#include <string>
#include <string_view>

// Writes bytes to path as described above. The temporary file is named path (after
// following links) + ".saving-" and six characters that make it unique. On false,
// error says why in words for the user and nothing has been touched: a temporary
// already made is removed again.
bool replaceFile(const std::string& path, std::string_view bytes, std::string& error);

// Renames a file within its file system, and removes one, so that a backend that keeps
// the user's files itself (the browser's) keeps them in step. False with error naming
// the file and why; removing a file that is already gone is no failure.
bool moveFile(const std::string& from, const std::string& to, std::string& error);
bool removeFile(const std::string& path, std::string& error);

// Says that the file at path, written in place, is whole now: a backend that keeps the
// user's files itself (the browser's) then keeps it as it keeps a replaced file.
void keepWrittenFile(const std::string& path);

// Whether the file saved last at path is kept: at once where the user's files are the
// file system's, only once stored where a backend keeps them itself (the browser's
// storage, written after the save). On failed, problem says why in words for the user.
enum class FileKept { yes, pending, failed };
FileKept savedFileKept(const std::string& path, std::string& problem);
