// The seam between the shared screen code and a backend. The shared code owns the
// framebuffer, the lock count and the primitives; a backend only opens something to
// show the frame on, shows changed rows, and turns its events into input state.
#pragma once

#include <cstdint>
#include <string>

namespace backend {

// Prepares the presentation target; false with a reason for the user on failure.
bool open(const std::string& title, std::string& error);
void close();
// Called at the outermost unlock with the rows that changed since the last one.
void present(const uint8_t* pixels, int pitch, int firstRow, int lastRow);
// Processes pending events. A frame boundary (the outermost unlock or an explicit
// PUMP_EVENTS) first forgets keys that were tapped and released before it.
void pumpEvents(bool frameBoundary);
void setTitle(const std::string& title);

} // namespace backend
