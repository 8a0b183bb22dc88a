// The file side of the PNG loader: reading a whole file for PNG_DECODE, the quick
// size probe that looks only at the first 24 bytes, and the release of results.
#include "png/png.h"
#include "png/png_parts.h"

#include "files/file_read.h"

#include <cstdio>
#include <cstring>

namespace {

// Larger than any file an image within the decode limits needs, even stored
// uncompressed.
constexpr FileKind kPngFile{"PNG image", uint64_t(1) << 30};

} // namespace

Image* PNG_LOAD(const std::string& path, int mode)
{
    FileBytes bytes;
    std::string ignoredProblem; // the callers say which picture is missing
    if (!readWholeFile(path, kPngFile, bytes, ignoredProblem) || bytes.size == 0) return nullptr;
    return PNG_DECODE(bytes.data.get(), bytes.size, mode);
}

void PNG_SIZE(const std::string& path, uint32_t& width, uint32_t& height)
{
    width = 0;
    height = 0;
    std::string ignoredProblem;
    std::FILE* file = openRegularFile(path, kPngFile, ignoredProblem);
    if (!file) return;
    uint8_t head[24];
    const bool read = std::fread(head, 1, sizeof head, file) == sizeof head;
    std::fclose(file);
    if (!read || std::memcmp(head, png::kSignature, sizeof png::kSignature) != 0) return;
    width = png::readU32(head + 16);
    height = png::readU32(head + 20);
}

void PNG_FREE(Image* image) { destroyImage(image); }
