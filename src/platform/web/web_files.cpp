// The user's files in the browser backend: the page keeps the home folder in the
// browser's IndexedDB and offers saved pictures as downloads (page.js); the backend
// only tells it what was saved.
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

namespace backend {

void fileSaved(const std::string& path) { tellPageFileSaved(path.c_str()); }

} // namespace backend
