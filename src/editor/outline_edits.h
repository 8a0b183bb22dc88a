// Changes to the number of points in a closed outline: a vertex added in the middle
// of a line, or taken out. Both work on the vertices (ends) and texture points
// (texEnds) together and leave the outline sealed, with transformed as long as
// lines, so the model stays valid to draw, edit and save.
#pragma once

#include "model/model.h"

constexpr size_t kFewestLines = 3; // fewer lines enclose nothing

// Seals an outline whose lines changed in number, transformed cleared to as many.
void sealAfterResize(Model& model);
// Splits line index in two at its middle: the new vertex (and texture point) lies
// halfway from the previous vertex to this one and becomes line index, before the
// old line. An empty model gets a first triangle around its origin instead. Returns
// the new vertex's line. index must be a line of a model that has lines.
int insertVertex(Model& model, int index);
// Takes vertex index out, so the next line runs on from the vertex before it. False,
// changing nothing, when the model has kFewestLines lines or fewer.
bool deleteVertex(Model& model, int index);
