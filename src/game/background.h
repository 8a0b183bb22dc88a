// The star field behind everything. It is as large as the world, so it moves and
// grows with the camera like everything in it.
#pragma once

struct Camera;
struct Image;

// Draws the background centred where the world's centre lies on the screen; a null
// background draws nothing.
void drawBackground(const Image* background, const Camera& camera);
