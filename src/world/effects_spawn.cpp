// Sizing the effect pool and the four spawners. A spawner takes the lowest free slot
// and sets only the fields its kind reads; random numbers are drawn only once a slot
// is taken, in the order written, so a seeded run spawns the same effects.
#include "world/entity.h"

#include "platform/platform.h"
#include "base/exact_math.h"

#include <cmath>

int32_t SHIELD_COUNTER = 0;

namespace {

constexpr int32_t kShieldCounterTop = 10;
constexpr float kShieldBaseSpeed = 50.0f;
constexpr double kShieldLife = 0.025;
constexpr float kDrag = -5.59f; // slows sparks and shield pieces down fast
// The 32-bit float nearest 6.283185, a little short of the float nearest 2 pi.
constexpr float kTau = 6.283185f;
constexpr float kExplosionRadius = 3.0f;
constexpr float kExplosionSpeedSpread = 8.0f; // a spark's speed lies in [speed, 9 speed)
constexpr double kPingLife = 2.0;
constexpr float kPingGrowth = 200.0f;
constexpr float kPingMaxSize = 50.0f;
constexpr float kFlameSpeedFactor = 3.0f;
constexpr float kFlameLargestSize = 0.5f;
constexpr float kFlameGrowth = 40.0f;

const Colour kBlue{0, 0, 255};
const Colour kShieldFade{10000, 10000, 0}; // towards white within the piece's 25 ms
const Colour kYellow{255, 255, 0};
const Colour kSparkFade{-510, -510, 0};
const Colour kFlameStart{128, 255, 0}; // r is the opacity: half transparent
const Colour kFlameFade{-300, -510, 0};

// The slot a spawn may take, or null when every slot is live.
Effect* freeSlot(std::vector<Effect>& slots)
{
    for (Effect& slot : slots) {
        if (!slot.active) return &slot;
    }
    return nullptr;
}

} // namespace

void EffectSystem::INIT(int32_t highestIndex)
{
    slots.assign(highestIndex < 0 ? 0 : static_cast<size_t>(highestIndex) + 1, Effect{});
}

void EffectSystem::SPAWN_SHIELD(Vec2f a, Vec2f b)
{
    Vec2f normal = PERP(b, a);
    NORMALIZE(normal);
    // The counter moves even when the pool is full: it belongs to the program, not the pool.
    SHIELD_COUNTER = SHIELD_COUNTER + 1;
    if (SHIELD_COUNTER > kShieldCounterTop) SHIELD_COUNTER = 0;
    Effect* slot = freeSlot(slots);
    if (!slot) return;
    slot->active = true;
    slot->expiryTime = static_cast<float>(TIMER_SECONDS() + kShieldLife);
    slot->position = a;
    slot->secondPoint = b;
    slot->velocity = normal * (static_cast<float>(SHIELD_COUNTER) + kShieldBaseSpeed);
    slot->colour = kBlue;
    slot->colourRate = kShieldFade;
    slot->drag = kDrag;
    slot->kind = EFFECT_SEGMENT;
}

void EffectSystem::SPAWN_EXPLOSION(Vec2f centre, float speed, int32_t count, int32_t kind, float expiryTime)
{
    // 64-bit, so that the largest count neither overflows count + 1 nor loops for ever.
    const int64_t particles = int64_t{count} + 1;
    for (int64_t i = 0; i < particles; ++i) {
        Effect* slot = freeSlot(slots);
        if (!slot) return; // nothing frees a slot during the call: the rest would fail too
        const float theta = static_cast<float>(i) * (kTau / static_cast<float>(particles));
        const float across = static_cast<float>(exact::sin(double{theta}));
        const float down = static_cast<float>(exact::cos(double{theta}));
        slot->active = true;
        slot->position = centre + Vec2f{kExplosionRadius * across, kExplosionRadius * down};
        const double sparkSpeed = speed + RANDOM_UNIT() * kExplosionSpeedSpread * speed;
        slot->velocity = Vec2f{across, down} * static_cast<float>(sparkSpeed);
        slot->expiryTime = expiryTime;
        slot->kind = kind;
        slot->colour = kYellow;
        slot->colourRate = kSparkFade;
        slot->drag = kDrag;
    }
}

void EffectSystem::SPAWN_PING(Vec2f position, float angle, int32_t kind)
{
    Effect* slot = freeSlot(slots);
    if (!slot) return;
    slot->active = true;
    slot->position = position;
    slot->angle = angle;
    slot->expiryTime = static_cast<float>(TIMER_SECONDS() + kPingLife);
    slot->kind = kind;
    slot->colour = kYellow;
    slot->drag = 0.0f;
    slot->size = 0.0f;
    slot->growth = kPingGrowth;
    slot->maxSize = kPingMaxSize;
}

void EffectSystem::SPAWN_THRUST(Vec2f centre, Vec2f edge1, Vec2f edge2, Vec2f velocity, const Image* image,
                                float expiryTime)
{
    Effect* slot = freeSlot(slots);
    if (!slot) return; // and no random number is drawn
    const Vec2f edge = std::floor(2.0 * RANDOM_UNIT()) == 0.0 ? edge1 : edge2;
    const float along = static_cast<float>(RANDOM_UNIT() * DIST(centre, edge));
    Vec2f direction = edge - centre;
    NORMALIZE(direction);
    slot->position = centre + direction * along;
    slot->angle = static_cast<float>(RANDOM_UNIT() * 360.0); // degrees: the blender takes whole degrees
    slot->active = true;
    slot->velocity = velocity * kFlameSpeedFactor;
    slot->expiryTime = expiryTime;
    slot->image = image;
    slot->kind = EFFECT_SPRITE;
    slot->colour = kFlameStart;
    slot->colourRate = kFlameFade;
    slot->drag = 0.0f;
    slot->size = static_cast<float>(RANDOM_UNIT() * kFlameLargestSize);
    slot->growth = kFlameGrowth;
}
