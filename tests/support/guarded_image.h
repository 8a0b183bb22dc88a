// An Image whose pixels sit inside a border of guard pixels in one larger block, so a
// test or fuzzer can see any write outside the image (the guard changed) and any read
// outside it (a source's guard colour turning up in the destination). The header
// occupies guard pixels to the left of the first row, as an Image needs it there.
#pragma once

#include "render/image.h"

#include <cstdint>
#include <cstring>
#include <vector>

class GuardedImage {
public:
    static constexpr int kGuard = 16; // pixels on every side; at least the header's 8

    GuardedImage(int width, int height, uint32_t guard, int extraPitchPixels = 0)
        : width_(width), height_(height),
          stride_(((width + 2 * kGuard + extraPitchPixels + 7) / 8) * 8), // a pitch of whole 32-byte blocks
          words_(size_t(stride_) * size_t(height + 2 * kGuard), guard)
    {
        Image header{IMAGE_HEADER_TYPE, 4, uint32_t(width), uint32_t(height), uint32_t(stride_ * 4), {}};
        std::memcpy(headerAddress(), &header, sizeof header);
        original_ = words_;
    }

    Image* image() { return reinterpret_cast<Image*>(headerAddress()); }
    uint32_t& at(int x, int y) { return words_[index(x, y)]; }
    uint32_t at(int x, int y) const { return words_[index(x, y)]; }

    void fill(uint32_t colour)
    {
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) at(x, y) = colour;
        }
        original_ = words_;
    }

    // True when every word outside the pixels (header included) is as it was.
    bool guardIntact() const
    {
        for (size_t i = 0; i < words_.size(); ++i) {
            if (words_[i] != original_[i] && !inside(i)) return false;
        }
        return true;
    }

    // The image's pixels hold no word equal to the value (say, a source's guard).
    bool pixelsFreeOf(uint32_t value) const
    {
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                if (at(x, y) == value) return false;
            }
        }
        return true;
    }

private:
    size_t index(int x, int y) const { return size_t(y + kGuard) * size_t(stride_) + size_t(x + kGuard); }
    uint32_t* headerAddress() { return &words_[index(0, 0) - sizeof(Image) / 4]; }
    bool inside(size_t i) const
    {
        const int y = int(i / size_t(stride_)) - kGuard, x = int(i % size_t(stride_)) - kGuard;
        return x >= 0 && y >= 0 && x < width_ && y < height_;
    }

    int width_, height_;
    int stride_;
    std::vector<uint32_t> words_;
    std::vector<uint32_t> original_;
};
