// A headless screen opened fresh for each test, with small helpers to read pixels.
#pragma once

#include "platform/headless/headless.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlack = 0xFF000000;

class HeadlessScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        headless::reset();
        ASSERT_EQ(SCREEN_OPEN(SCREEN_WIDTH, SCREEN_HEIGHT, 32, 1, 0, 0), 0);
    }
    void TearDown() override { headless::reset(); }

    static uint32_t pixel(int x, int y)
    {
        uint32_t value;
        std::memcpy(&value, SCREEN_POINTER() + y * SCREEN_WIDTH * 4 + x * 4, sizeof value);
        return value;
    }

    static int countPixels(uint32_t colour)
    {
        int count = 0;
        for (int y = 0; y < SCREEN_HEIGHT; ++y) {
            for (int x = 0; x < SCREEN_WIDTH; ++x) count += pixel(x, y) == colour;
        }
        return count;
    }
};
