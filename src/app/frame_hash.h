// A fingerprint of the picture on screen, to tell two runs' frames apart without
// keeping them: the headless runner prints it and demos end with it.
#pragma once

#include <cstdint>

// FNV-1a (64-bit) over the screen's pixel bytes, row by row from the top, 640 pixels
// of 4 bytes each. The hash of no bytes when no screen is open.
uint64_t frameHash();
