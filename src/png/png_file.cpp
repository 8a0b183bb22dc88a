// The file side of the PNG loader: reading a whole file for PNG_DECODE, the quick
// size probe that looks only at the first 24 bytes, and the release of results.
#include "png/png.h"
#include "png/png_parts.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Larger than any file an image within the decode limits needs, even stored
// uncompressed; it also stops a directory, whose end seeks to LONG_MAX, early.
constexpr long kMaxFileBytes = long(1) << 30;

struct FileBytes {
    std::unique_ptr<uint8_t[]> data;
    size_t size = 0;
};

bool readWholeFile(const std::string& path, FileBytes& bytes)
{
    FileHandle file(std::fopen(path.c_str(), "rb"));
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) return false;
    const long size = std::ftell(file.get());
    if (size <= 0 || size > kMaxFileBytes || std::fseek(file.get(), 0, SEEK_SET) != 0) return false;
    bytes.size = size_t(size);
    // No exception may leave the loader: a failed allocation is a failed load.
    bytes.data.reset(new (std::nothrow) uint8_t[bytes.size]());
    return bytes.data && std::fread(bytes.data.get(), 1, bytes.size, file.get()) == bytes.size;
}

} // namespace

Image* PNG_LOAD(const std::string& path, int mode)
{
    FileBytes bytes;
    if (!readWholeFile(path, bytes)) return nullptr;
    return PNG_DECODE(bytes.data.get(), bytes.size, mode);
}

void PNG_SIZE(const std::string& path, uint32_t& width, uint32_t& height)
{
    width = 0;
    height = 0;
    FileHandle file(std::fopen(path.c_str(), "rb"));
    uint8_t head[24];
    if (!file || std::fread(head, 1, sizeof head, file.get()) != sizeof head) return;
    if (std::memcmp(head, png::kSignature, sizeof png::kSignature) != 0) return;
    width = png::readU32(head + 16);
    height = png::readU32(head + 20);
}

void PNG_FREE(Image* image) { destroyImage(image); }
