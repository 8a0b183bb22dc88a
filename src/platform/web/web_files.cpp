// The user's files in the browser backend: the page stores each file saved in the
// home folder in the browser's IndexedDB and offers saved pictures as downloads
// (page.js, stored_files.js); the backend tells it what was saved and asks how the
// storing went.
#include "platform/backend.h"

#include <emscripten.h>
#include <sys/stat.h>

namespace {

// emscripten's C library starts with a umask of 0777, which its open() ignores; but a
// save gives a new file the mode that open() would under the umask it reads, which
// would be none at all: the stored ship could not be read on the next visit. The
// files here are the player's own, so the desktop's usual umask holds.
const bool kUsualUmask = (::umask(022), true);

} // namespace

EM_JS(void, tellPageFileSaved, (const char* path), { Module.onFileSaved(UTF8ToString(path)); });
EM_JS(void, tellPageFileRemoved, (const char* path), { Module.onFileRemoved(UTF8ToString(path)); });
EM_JS(int, pageFileState, (const char* path), { return Module.fileState(UTF8ToString(path)); });
EM_JS(void, pageFileProblem, (const char* path, char* text, int size),
      { stringToUTF8(Module.fileProblem(UTF8ToString(path)), text, size); });

namespace backend {

void fileSaved(const std::string& path) { tellPageFileSaved(path.c_str()); }
void fileRemoved(const std::string& path) { tellPageFileRemoved(path.c_str()); }

FileKept fileKept(const std::string& path, std::string& problem)
{
    switch (pageFileState(path.c_str())) {
    case 0:
        return FileKept::yes;
    case 1:
        return FileKept::pending;
    default: {
        char text[256];
        pageFileProblem(path.c_str(), text, sizeof text);
        problem = text;
        return FileKept::failed;
    }
    }
}

} // namespace backend
