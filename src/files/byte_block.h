// Blocks of bytes from malloc, for buffers as large as a file or a picture. Running
// out of memory must be a null that the caller checks: in the browser build even
// new (std::nothrow) aborts then, as it calls the throwing new and nothing is caught
// there, while malloc (linked with ABORTING_MALLOC=0) returns null.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

struct FreeBytes {
    void operator()(uint8_t* bytes) const { std::free(bytes); }
};
using ByteBlock = std::unique_ptr<uint8_t[], FreeBytes>;

// At least one byte, so that an empty block is not taken for a failure; null when
// memory runs out.
inline ByteBlock allocateBytes(size_t size, bool zeroed = false)
{
    const size_t asked = size == 0 ? 1 : size;
    return ByteBlock(static_cast<uint8_t*>(zeroed ? std::calloc(asked, 1) : std::malloc(asked)));
}
