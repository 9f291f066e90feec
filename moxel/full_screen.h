// Whether the window in front covers the whole screen the moxel stands on, decided from plain
// facts about that window, without Win32.
#pragma once

#include "placement/placement.h"

// What the decision needs to know about the foreground window.
struct front_window {
  pixel_rect window;       // its rectangle, borders included
  pixel_rect client;       // its client area, in screen coordinates
  bool captioned = false;  // it has a title bar
  bool shown = false;      // it is visible and not minimised
  bool desktop = false;    // the shell's desktop, which fills every screen behind all windows
  bool ours = false;       // the moxel, its bar or another window of this library
};

// True when `front` fills `screen`: its client area covers the screen, or, without a title
// bar, its rectangle does. A maximised window with a title bar hangs its borders over the
// screen's edges but keeps its title bar on it, so it does not count; neither does the
// desktop, a window of our own, a hidden or minimised window, or an empty screen.
bool CoversScreen(const front_window& front, const pixel_rect& screen);
