// The mouse's press latch, shared by both backends: a button pressed and released
// again between two MOUSE_GET calls (a touchpad tap, a quick click between frames)
// would never be seen by a program that samples the buttons once a frame, so each
// press is remembered, with its place, until the next reading takes it.
#pragma once

class PressLatch {
public:
    // Buttons (bit values) went down over framebuffer pixel (x, y).
    void press(int buttons, int x, int y);
    // Folds the presses since the last call into a reading of the buttons held now
    // (0 when the pointer is off the picture) and forgets them. A latched button
    // that is no longer held is reported down, at the place of the latest press; one
    // still held leaves the reading as it is, so a press and drag follows the pointer.
    // True when the reading was moved to that place.
    bool fold(int& x, int& y, int& buttons);

private:
    int buttons_ = 0;
    int x_ = 0;
    int y_ = 0;
};
