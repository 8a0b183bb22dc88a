// The plain model-against-model test: every transformed line of a against every one
// of b, both in index order, each through LINES_INTERSECT. Obviously right and slow,
// it is what the game's test and the asteroid field's update are held against.
#pragma once

#include "model/model.h"

inline int plainModelCollision(const Model& a, Vec2f aPosition, const Model& b, Vec2f bPosition, Vec2f& contact)
{
    for (size_t i = 0; i < a.transformed.size(); ++i) {
        for (const ModelLine& line : b.transformed) {
            if (LINES_INTERSECT(contact, aPosition + a.transformed[i].start, aPosition + a.transformed[i].end,
                                bPosition + line.start, bPosition + line.end)) {
                return static_cast<int>(i);
            }
        }
    }
    return -1;
}
