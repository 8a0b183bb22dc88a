// The seam between the shared screen code and a backend. The shared code owns the
// framebuffer, the lock count and the primitives; a backend only opens something to
// show the frame on, shows changed rows, and turns its events into input state.
#pragma once

#include "platform/file_replace.h"

#include <cstdint>
#include <string>

namespace backend {

struct WindowMode {
    int scale = 1; // the window's size as a multiple of 640 x 480
    bool fullscreen = false;
};

// Prepares the presentation target; false with a reason for the user on failure.
bool open(const std::string& title, const WindowMode& mode, std::string& error);
void close();
// Shows the open window as the mode asks (the browser: only its fullscreen).
void applyMode(const WindowMode& mode);
bool fullscreen();
// 0 where the page decides the size.
int largestScale();
// Called at the outermost unlock with the rows that changed since the last one.
void present(const uint8_t* pixels, int pitch, int firstRow, int lastRow);
// Processes pending events. A frame boundary (the outermost unlock or an explicit
// PUMP_EVENTS) first forgets keys that were tapped and released before it.
void pumpEvents(bool frameBoundary);
void setTitle(const std::string& title);
// The window's icon: width x height pixels 0xAARRGGBB, rows packed; null for none.
void setIcon(const uint32_t* pixels, int width, int height);
// The live keyboard for a set-1 code (Escape also after a close request).
bool keyDown(int scanCode);
// The backend's own text input on or off (TEXT_INPUT_START), and each piece of text
// it receives, which the shared part keeps while text input is on.
void startTextInput();
void stopTextInput();
void textTyped(const std::string& text);
// A file was replaced with new contents (file_replace.h), for a backend that keeps
// or hands on the user's files itself (the browser's).
void fileSaved(const std::string& path);
// A file was removed (or moved away): such a backend forgets it.
void fileRemoved(const std::string& path);
// Whether such a backend has kept the file saved last at path yet (savedFileKept).
FileKept fileKept(const std::string& path, std::string& problem);

} // namespace backend
