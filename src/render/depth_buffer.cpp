// The one depth buffer of a program and its size. The size is kept next to the
// pointer it belongs to, so the fillers can bound every index they form.
#include "render/triangles.h"

#include "render/framebuffer.h"

#include <cstdlib>
#include <cstring>

float* DEPTH_BUFFER = nullptr;

namespace {
// The block the helpers allocated; DEPTH_BUFFER may have been pointed elsewhere.
float* ownedBuffer = nullptr;
size_t ownedEntries = 0;
} // namespace

bool allocateDepthBuffer(int width, int height)
{
    freeDepthBuffer();
    if (width <= 0 || height <= 0) return false;
    const size_t entries = size_t(width) * size_t(height);
    ownedBuffer = static_cast<float*>(std::calloc(entries, sizeof(float)));
    if (!ownedBuffer) return false;
    ownedEntries = entries;
    DEPTH_BUFFER = ownedBuffer;
    return true;
}

void clearDepthBuffer()
{
    // All-zero bytes are 0.0f, the depth nothing can fail to beat. The programs draw
    // their triangles on the screen only, so a frame whose screen pixels are skipped
    // has no use for a clear one.
    if (screenPixelsSkipped()) return;
    if (DEPTH_BUFFER == ownedBuffer && ownedBuffer) std::memset(ownedBuffer, 0, ownedEntries * sizeof(float));
}

void freeDepthBuffer()
{
    if (DEPTH_BUFFER == ownedBuffer) DEPTH_BUFFER = nullptr;
    std::free(ownedBuffer);
    ownedBuffer = nullptr;
    ownedEntries = 0;
}

size_t depthBufferEntries() { return (DEPTH_BUFFER && DEPTH_BUFFER == ownedBuffer) ? ownedEntries : 0; }
