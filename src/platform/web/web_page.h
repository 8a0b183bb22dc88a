// What the parts of the browser backend share.
#pragma once

namespace web {

// The canvas that shows the framebuffer, as a CSS selector for emscripten's calls.
inline constexpr const char* kCanvas = "#canvas";

// Starts listening to the page's keyboard, focus and visibility, and to the mouse over
// the canvas (once; web_keys.cpp).
void listenToPage();
void listenToMouse(); // web_mouse.cpp
// A frame begins: the keys tapped since the last began are what it sees (web_keys.cpp).
void startKeyFrame();
// A frame boundary for the controllers: presses from before it are forgotten (web_pads.cpp).
void startPadFrame();
// The page was hidden or shown again (web_frames.cpp): a hidden page runs no frames.
void pageHidden(bool hidden);

} // namespace web
