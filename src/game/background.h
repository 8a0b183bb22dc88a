// The star field behind everything, moved and magnified with the camera.
#pragma once

struct Camera;
struct Image;

// Draws the background centred where the world's centre lies on the screen; a null
// background draws nothing.
void drawBackground(const Image* background, const Camera& camera);
