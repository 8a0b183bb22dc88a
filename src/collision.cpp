// Exact collision tests on transformed outlines: edge against edge, the first
// crossing in index order deciding both the result and the contact point. Callers
// filter pairs by bounding radius first; nothing here allocates.
#include "model.h"

int CHECK_MODEL_MODEL_COLLISION(const Model& a, Vec2f aPosition, const Model& b, Vec2f bPosition, Vec2f& contact)
{
    for (size_t i = 0; i < a.transformed.size(); ++i) {
        const Vec2f a1 = aPosition + a.transformed[i].start;
        const Vec2f a2 = aPosition + a.transformed[i].end;
        for (const ModelLine& line : b.transformed) {
            if (LINES_INTERSECT(contact, a1, a2, bPosition + line.start, bPosition + line.end)) {
                return static_cast<int>(i);
            }
        }
    }
    return -1;
}

int CHECK_LINE_MODEL_COLLISION(Vec2f p, Vec2f q, const Model& model, Vec2f position, Vec2f& contact)
{
    for (size_t i = 0; i < model.transformed.size(); ++i) {
        const ModelLine& line = model.transformed[i];
        if (LINES_INTERSECT(contact, p, q, position + line.start, position + line.end)) return static_cast<int>(i);
    }
    return -1;
}
