// The framebuffer's one owner.
#include "render/framebuffer.h"

#include <cstddef>
#include <vector>

namespace {
std::vector<uint32_t> pixels; // empty while closed
bool skipped = false;
} // namespace

void openFramebuffer(uint32_t fill) { pixels.assign(std::size_t(SCREEN_WIDTH) * SCREEN_HEIGHT, fill); }

void closeFramebuffer() { std::vector<uint32_t>().swap(pixels); }

uint32_t* framebufferPixels() { return pixels.empty() ? nullptr : pixels.data(); }

void skipScreenPixels(bool skip) { skipped = skip; }

bool screenPixelsSkipped() { return skipped; }
