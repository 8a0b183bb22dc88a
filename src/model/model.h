// Line models: a closed outline kept twice, as stored (lines) and as last turned and
// scaled (transformed), with texture coordinates per line. Both lists always have the
// same length; line i runs from the end of line i - 1 to its own end, and line 0 from
// the end of the last line. Only ends and texEnds carry information: SEAL derives the
// starts. Files live under data/model/ in the .mdata text format (mdata_text.h).
#pragma once

#include "space/vec2f.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

struct Camera;
struct Image;

// An integer colour; channels may run outside 0..255 while an effect fades.
struct Colour {
    int32_t r = 0;
    int32_t g = 0;
    int32_t b = 0;
    int32_t spare = 0; // a fourth channel that stays 0

    constexpr Colour() = default;
    constexpr Colour(int32_t red, int32_t green, int32_t blue) : r(red), g(green), b(blue) {}

    // Clamps r, g and b to 0..255 in place (so a channel that ran past a bound is
    // pulled back for good) and returns the opaque pixel 0xFFRRGGBB.
    uint32_t toPixel();
};

inline uint32_t Colour::toPixel()
{
    for (int32_t* channel : {&r, &g, &b}) {
        if (*channel < 0) *channel = 0;
        if (*channel > 255) *channel = 255;
    }
    return 0xFF000000u | static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 | static_cast<uint32_t>(b);
}

struct ModelLine {
    Vec2f start;
    Vec2f end;
    Vec2f spare1;
    Vec2f spare2;
    Vec2f texStart; // texture grid units: 8 texture pixels each, (16, 16) the centre
    Vec2f texEnd;
    Colour colour; // stays zero
};

struct Model {
    Vec2f spare;
    Vec2f centre;       // what CENTER last subtracted from the outline
    int32_t radius = 0; // bounding radius for the broad collision test; LOAD keeps it
    std::vector<ModelLine> lines;
    std::vector<ModelLine> transformed; // relative to the thing's position, not moved by it
};

// LOAD and SAVE of a path of the caller's choosing rather than one under data/model/,
// with the same messages and guarantees. The save replaces the file in one step,
// through its links and keeping its mode (see file_replace.h).
bool loadModelFile(Model& model, const std::string& path);
bool saveModelFile(const Model& model, const std::string& path);
// loadModelFile without a word to the user: on false, problem says why the file could
// not be opened or read, and the model is as it was.
bool readModelFile(Model& model, const std::string& path, std::string& problem);
// Gives the model these lines, as a read file does: transformed as many, cleared.
void setModelLines(Model& model, std::vector<ModelLine> lines);
// readModelFile that also refuses, with a reason, a file that holds no outline or
// ends before the count line's last record: a file that is not a whole ship.
bool readWholeModelFile(Model& model, const std::string& path, std::string& problem);
// Whether the file reads as a model and nothing else: a whole count of at least -1,
// one number alone on each line its records take, and no more text after them. The
// readers accept any text (a line without a number reads as 0), so this is how the
// editor tells a ship model from some other file it should not write over unasked.
bool isModelText(const std::string& path);
// saveModelFile without a word to the user: on false, problem names the file and
// says why, and the old file is untouched.
bool writeModelFile(const Model& model, const std::string& path, std::string& problem);
// Reads "data/model/" + name. On false (the file could not be opened or read) it has
// printed "Could not load file!" and left the model exactly as it was.
bool LOAD(Model& model, const std::string& name);
// Writes lines (never transformed) to "data/model/" + name through a temporary file
// that replaces the old one only once it is complete. On false it has printed
// "Could not save file!" and the old file is untouched.
bool SAVE(const Model& model, const std::string& name);

// Closes the outline in both lists: every start (and texStart) becomes the previous
// line's end (texEnd).
void SEAL(Model& model);
// Fills transformed with the ends of lines turned clockwise on screen by angle and
// multiplied by scale, where a scale of exactly 1.0 means the camera's zoom; then
// SEALs. Position and force are accepted for the callers' sake and not used.
void TRANSFORM(Model& model, Vec2f position, float angle, float scale, const Camera& camera, bool force);
// Moves lines so that the mean of their points (rounded to whole units) is the
// origin and records that shift in centre.
void CENTER(Model& model);

// Index of a's first transformed line (a's lines outer, b's inner, both increasing)
// that crosses one of b's, with contact set to the crossing point; -1 and contact
// untouched when none does. An outline wholly inside the other does not count.
int CHECK_MODEL_MODEL_COLLISION(const Model& a, Vec2f aPosition, const Model& b, Vec2f bPosition, Vec2f& contact);
// Index of the model's first transformed line crossing the segment p-q, with contact
// set to the crossing point; -1 and contact untouched when none does.
int CHECK_LINE_MODEL_COLLISION(Vec2f p, Vec2f q, const Model& model, Vec2f position, Vec2f& contact);

// Draws the model as a fan of textured triangles around origin, its origin's place on
// the screen: one triangle per line, through the transformed start and end and the
// origin, all at depth 1. Texture points come from lines (never transformed): texStart
// and texEnd and the centre (16, 16), in grid units of 8 texels, rounded to whole
// texels when asked (as the editor does). The target is the locked screen.
void DRAW_MODEL(const Model& model, Vec2f origin, int brightness, const Image* texture, bool wholeTexels);
// True when no triangle of the model's fan around origin (as DRAW_MODEL and the world
// drawing lay it) can reach a pixel of a width x height target, so it may be skipped
// without any triangle set-up. False whenever it cannot be sure, as for a point that
// is not a finite number.
bool fanMissesTarget(const Model& model, Vec2f origin, int width, int height);
