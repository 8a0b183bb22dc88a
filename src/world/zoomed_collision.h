// The exact collision tests for things whose transformed outlines carry the camera's
// zoom, as drawing needs them. Their world positions are zoomed alike before the test,
// so outlines and the distances between them share one scale and things touch at
// their true sizes whatever the zoom. At zoom 1 every product below is exact and the
// tests see the very numbers they would without it. Contact points come back in world
// units; one that the test does not write keeps what the caller put there.
#pragma once

#include "model/model.h"
#include "space/vec2f.h"

#include <cstdint>

inline int32_t modelsTouchAtZoom(const Model& a, Vec2f aPosition, const Model& b, Vec2f bPosition, float zoom,
                                 Vec2f& contact)
{
    Vec2f zoomedContact;
    const int32_t line = CHECK_MODEL_MODEL_COLLISION(a, aPosition * zoom, b, bPosition * zoom, zoomedContact);
    if (line >= 0) contact = zoomedContact / zoom;
    return line;
}

inline int32_t segmentTouchesAtZoom(Vec2f p, Vec2f q, const Model& model, Vec2f position, float zoom, Vec2f& contact)
{
    Vec2f zoomedContact;
    const int32_t line = CHECK_LINE_MODEL_COLLISION(p * zoom, q * zoom, model, position * zoom, zoomedContact);
    if (line >= 0) contact = zoomedContact / zoom;
    return line;
}
