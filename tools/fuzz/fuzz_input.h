// Reads a fuzzer's input front to back as typed values; past its end every value is
// 0, so any input, however short, drives a whole call.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

struct FuzzInput {
    const uint8_t* data;
    size_t size;

    template <class T>
    T take()
    {
        T value{};
        const size_t n = std::min(sizeof value, size);
        std::memcpy(&value, data, n);
        data += n;
        size -= n;
        return value;
    }
};
