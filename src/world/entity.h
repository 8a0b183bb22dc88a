// The things that move in the game world: the ship, its shots, the asteroids and the
// pool of short-lived effects, with their per-frame steps. Positions are world units,
// angles radians (0 up the screen, clockwise), times TIMER_SECONDS values kept as
// floats. The asteroid array and the effect pool belong to the game's main program;
// an entity only points at the pool it spawns into.
#pragma once

#include "model/model.h"
#include "space/vec2f.h"

#include <cstdint>
#include <vector>

class AsteroidGrid;
struct Camera;
struct Image;
struct EffectSystem;

// Shared head of everything that moves. Not every thing uses every field: the thrust
// vector and heading are the ship's, the hit point an asteroid's.
struct Body {
    Vec2f position;
    Vec2f velocity; // the ship's in units per 1/50 s; see each kind for the others
    Vec2f thrustVector;
    Vec2f heading;  // (sin angle, -cos angle)
    Vec2f hitPoint; // where the asteroid was last struck; its explosion and split start here
    bool active = false; // for the ship: alive
    float angle = 0.0f;
    float turnRate = 0.0f; // radians per second
};

struct Entity : Body {
    bool fragment = false;   // a piece of a split asteroid: removed, not split, when hit
    bool splittable = false;
    bool hit = false;        // hit this frame; the hit resolution acts on it and clears it
    float speedFactor = 0.0f; // an asteroid moves at velocity * speedFactor units per second
    float speed = 0.0f;       // the ship's speed before the cap, as last computed
    float respawnTime = 0.0f;
    Model model;
    EffectSystem* effects = nullptr; // not owned
};

struct Shot : Body { // velocity: unit direction of flight; active: in flight
    Vec2f previousPosition;
    float expiryTime = 0.0f;
};

// Bits of Player::flags; the others stay 0.
constexpr int32_t kRapidFireFlag = 1; // read by the fire rule; nothing sets it
constexpr int32_t kShieldFlag = 2;
constexpr int32_t kLaserSightFlag = 0x40;

struct Player : Entity {
    int32_t pingState = 0; // 0 idle, -1 while a sweep expands
    int32_t levelNumber = 0;
    int32_t score = 0;
    int32_t flags = 0;
    int32_t shotIndex = 0; // the shot of the ring fired last
    float nextShotTime = 0.0f;
    float shotInterval = 0.0f;
    float pingEndTime = 0.0f;
    float pingRadius = 0.0f;
    float previousPingRadius = 0.0f;
    float maxPingRadius = 0.0f;
    float shieldEndTime = 0.0f;
    float laserSightEndTime = 0.0f;
    Vec2f pingOrigin;
    float thrustLevel = 0.0f;
    float fuel = 0.0f;
    float battery = 0.0f;
    std::vector<Shot> shots; // a ring, reused in turn
    float maxFuel = 100.0f;
    float maxBattery = 100.0f;
    uint16_t laserLineStyle = 0x00FF; // dash pattern of the sight, turned while it is on
};

// A point of the ship's turned outline as a place in the world. The turned outline is
// magnified by the camera's zoom, so the zoom is divided back out before the point is
// added to the position; at zoom 1 this is exactly position + point. At zoom 0 the
// outline has shrunk to the position itself.
inline Vec2f outlinePointInWorld(const Player& player, Vec2f turnedPoint, float zoom)
{
    if (zoom == 0.0f) return player.position;
    return player.position + turnedPoint / zoom;
}

// Where shots leave and the laser sight starts, in world units: the start of the turned
// outline's first line (the nose); the position itself when the outline is empty, as
// when the ship's file is missing.
inline Vec2f noseOf(const Player& player, float zoom)
{
    if (player.model.transformed.empty()) return player.position;
    return outlinePointInWorld(player, player.model.transformed[0].start, zoom);
}

// Moves, caps, wraps and transforms the ship, flags the asteroids it touches without
// a shield (with the contact point as their hit point) and ends the timed shield and
// laser sight.
void UPDATE_PLAYER(Player& player, std::vector<Entity>& asteroids, float dt, const Camera& camera);
// Each keeps only its own bound: fuel never exceeds maxFuel after ADD_FUEL and never
// drops below 0 after SUBTRACT_FUEL; a negative amount moves the other way unchecked.
void ADD_FUEL(Player& player, float amount);
void SUBTRACT_FUEL(Player& player, float amount);
void ADD_BATTERY(Player& player, float amount);
void SUBTRACT_BATTERY(Player& player, float amount);

// Turns, moves, wraps (50 units past the edges), transforms and bounces every active
// asteroid. levelCleared comes back true when none is active. The grid is the bounce's
// working storage, kept by the caller so that frames allocate nothing.
void UPDATE_ASTEROIDS(std::vector<Entity>& asteroids, float dt, bool& levelCleared, const Camera& camera,
                      AsteroidGrid& grid);

// Kinds of effect. Any other kind is neither moved, drawn nor ever ended.
constexpr int32_t EFFECT_STREAK = 0;  // explosion spark: a line along its velocity
constexpr int32_t EFFECT_SEGMENT = 1; // shield piece: a dashed line, in zoomed coordinates
constexpr int32_t EFFECT_SPRITE = 2;  // thrust flame: a blended picture
constexpr int32_t EFFECT_RING = 3;    // ping marker: three short arcs

struct Effect : Body { // angle: whole degrees for a sprite, radians for a ring
    Vec2f secondPoint;
    int32_t kind = 0;
    float size = 0.0f;   // sprite: 20 x its zoom; ring: outermost radius in pixels
    float growth = 0.0f; // size per second, times the camera's zoom
    float maxSize = 0.0f;
    float expiryTime = 0.0f; // not used by rings, which end by size
    float drag = 0.0f;       // velocity change per second as a fraction of the velocity
    Colour colour;           // a sprite's r is its opacity
    Colour colourRate;       // per second
    const Image* image = nullptr; // not owned
};

// Advanced once per shield spawn, in every pool: 1, 2, ..., 10, 0, 1, ... It sets the
// speed (counter + 50) of each shield piece.
extern int32_t SHIELD_COUNTER;

// A fixed array of slots; a spawn takes the lowest free slot (or is skipped when none
// is free) and an effect frees its slot when it ends. Nothing allocates after INIT.
struct EffectSystem {
    std::vector<Effect> slots;

    // highestIndex + 1 fresh slots; live effects are dropped.
    void INIT(int32_t highestIndex);
    void UPDATE(float dt, const Camera& camera);
    // Draws onto the locked screen, the highest slot first.
    void RENDER(const Camera& camera);
    // a and b in camera coordinates (already multiplied by the zoom).
    void SPAWN_SHIELD(Vec2f a, Vec2f b);
    // count + 1 particles in a ring around the centre.
    void SPAWN_EXPLOSION(Vec2f centre, float speed, int32_t count, int32_t kind, float expiryTime);
    void SPAWN_PING(Vec2f position, float angle, int32_t kind);
    // A flame somewhere between the centre and one of the two edges.
    void SPAWN_THRUST(Vec2f centre, Vec2f edge1, Vec2f edge2, Vec2f velocity, const Image* image, float expiryTime);
};
