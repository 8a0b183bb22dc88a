// The view onto the world: where the screen's top-left corner lies in camera
// coordinates (world units times the zoom), the magnification, and a short random
// shake. A world point p is drawn at p * zoom - position. UPDATE eases towards the
// targets once per frame and keeps the view inside the world (see world_size.h).
#pragma once

#include "space/vec2f.h"

struct Camera {
    float followRate = 2.0f;     // fraction of the distance to the target covered per second
    float shakeAmplitude = 0.0f; // largest displacement of the running shake, camera units
    float shakeEndTime = 0.0f;   // TIMER_SECONDS value after which the shake stops
    float zoom = 1.0f;           // kept within kMinZoom..kMaxZoom by UPDATE
    float targetZoom = 1.0f;
    float zoomSpeed = 5.0f; // fraction of the zoom difference covered per second
    Vec2f position;         // the screen's top-left corner in camera coordinates
    Vec2f centre;           // position + half a screen, before bounding and shaking
    Vec2f target;
    bool shaking = false;
    float shakeStrength = 1.0f; // the player's choice: 0 keeps the view still (a shake still draws its numbers)

    // From the view's corner to its centre, in screen pixels.
    static constexpr Vec2f kHalfScreen{320.0f, 240.0f};
    static constexpr float kMinZoom = 0.25f;
    static constexpr float kMaxZoom = 4.0f;

    // Eases position and zoom towards their targets over dt seconds, bounds both,
    // then adds one displacement of a running shake.
    void UPDATE(float dt);
    // Starts a shake unless one is running (a running shake is neither restarted,
    // lengthened nor strengthened), and displaces the view once either way.
    void SHAKE(float amplitude, float duration);
};

// The view corner that puts a world point at the centre of the screen at this zoom.
inline Vec2f cornerCentredOn(Vec2f worldPoint, float zoom) { return worldPoint * zoom - Camera::kHalfScreen; }
