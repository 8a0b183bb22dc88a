// A level's asteroid field on a world of a given size, as the world benchmarks start
// from: the headless clock at 100 s, the generator seeded, the ship alive at the
// world's centre. The world's size is put back when the field goes.
#pragma once

#include "world/asteroid_grid.h"
#include "space/camera.h"
#include "world/entity.h"
#include "game/field.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "space/world_size.h"

#include <cstdint>
#include <vector>

class BenchField {
public:
    static constexpr double kStartSeconds = 100.0;

    BenchField(int64_t level, int width, int height) : oldWidth_(WORLD_W), oldHeight_(WORLD_H)
    {
        headless::reset();
        headless::setTime(kStartSeconds);
        RANDOM_SEED(42.0);
        WORLD_W = width;
        WORLD_H = height;
        effects.INIT(1999);
        player.active = true;
        player.position = {static_cast<float>(width / 2), static_cast<float>(height / 2)};
        player.levelNumber = static_cast<int32_t>(level) - 1;
        NEW_LEVEL(player, asteroids, camera, effects);
    }

    ~BenchField()
    {
        WORLD_W = oldWidth_;
        WORLD_H = oldHeight_;
        headless::reset();
    }

    BenchField(const BenchField&) = delete;
    BenchField& operator=(const BenchField&) = delete;

    Camera camera;
    EffectSystem effects;
    Player player;
    std::vector<Entity> asteroids;
    AsteroidGrid grid;

private:
    int oldWidth_;
    int oldHeight_;
};
