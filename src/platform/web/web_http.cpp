// HTTP_START and HTTP_POLL in the browser, over the page's fetch (page.js keeps the
// requests, and asks the player once before the first one that sends a body). The
// answers wait in the page until a turn polls for them.
#include "platform/platform.h"

#include <emscripten.h>

#include <vector>

EM_JS(int, pageHttpStart, (const char* method, const char* url, const char* body, int size), {
    return Module.httpStart(UTF8ToString(method), UTF8ToString(url), HEAPU8.slice(body, body + size));
});
// -1 while under way; else the status, with the body's and the error's sizes in bytes.
EM_JS(int, pageHttpState, (int request, int* bodySize, int* errorSize), {
    const reply = Module.httpReply(request);
    if (!reply) return -1;
    HEAP32[bodySize >> 2] = reply.body.length;
    HEAP32[errorSize >> 2] = lengthBytesUTF8(reply.error);
    return reply.status;
});
EM_JS(void, pageHttpTake, (int request, char* body, char* error), {
    const reply = Module.httpReply(request);
    HEAPU8.set(reply.body, body);
    stringToUTF8(reply.error, error, lengthBytesUTF8(reply.error) + 1);
    Module.httpForget(request);
});
EM_JS(void, pageHome, (char* text, int size), { stringToUTF8(Module.httpHome(), text, size); });

int HTTP_START(const std::string& method, const std::string& url, const std::string& body)
{
    return pageHttpStart(method.c_str(), url.c_str(), body.data(), int(body.size()));
}

bool HTTP_POLL(int request, HttpReply& reply)
{
    int bodySize = 0, errorSize = 0;
    const int status = pageHttpState(request, &bodySize, &errorSize);
    if (status < 0) return false;
    std::vector<char> body(size_t(bodySize) + 1), error(size_t(errorSize) + 1);
    pageHttpTake(request, body.data(), error.data());
    reply.status = status;
    reply.body.assign(body.data(), size_t(bodySize));
    reply.error.assign(error.data(), size_t(errorSize));
    return true;
}

std::string HTTP_HOME()
{
    char home[512]; // an origin: scheme, host and port
    pageHome(home, sizeof home);
    return home;
}
