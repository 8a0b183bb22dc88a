// The user's files in the browser backend: the page keeps the home folder in the
// browser's IndexedDB and offers saved pictures as downloads (page.js); the backend
// only tells it what was saved.
#include "platform/backend.h"

#include <emscripten.h>

EM_JS(void, tellPageFileSaved, (const char* path), { Module.onFileSaved(UTF8ToString(path)); });

namespace backend {

void fileSaved(const std::string& path) { tellPageFileSaved(path.c_str()); }

} // namespace backend
