// The programs' window icon: the 64-pixel one of the desktop icons, built into the
// program so that no file needs finding for it.
#pragma once

// Gives the window (open now or opened later) the icon; a window without one keeps
// the desktop's default.
void showWindowIcon();
