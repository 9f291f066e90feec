// Which monitor and where on it the moxel stands, and where its volume bar opens beside it.
#pragma once

#include <span>

#include "host/config/config_vars.h"

struct pixel_rect {
  int left, top, right, bottom;
  bool operator==(const pixel_rect&) const = default;
};

// A `width` by `height` rectangle flush with the two edges of `area` that meet at `corner`.
pixel_rect RectInCorner(const pixel_rect& area, ScreenCorner corner, int width, int height);

// What a window opening beside the moxel places and sizes itself by.
struct moxel_anchor {
  pixel_rect moxel;
  pixel_rect screen;  // the whole monitor the moxel stands on
  ScreenCorner corner;
  int scale = 1;  // screen pixels per artwork pixel, across and down
};

// One monitor of the desktop, in the desktop's pixels (the main one's top-left at the origin).
struct monitor_area {
  pixel_rect rect;
  bool main = false;
};

// The monitor whose `corner` the moxel stands in. The main screen is the one flagged main.
// The desktop's outer corner is that corner of the monitor whose own corner lies farthest out
// in its direction, across and down together: with nothing beyond the desktop's edges there,
// the pointer stops in it. Ties go to the main screen, then to the earlier monitor. Without
// a monitor flagged main the first one is main; without any monitor, an empty area.
pixel_rect ChosenMonitor(std::span<const monitor_area> monitors, ScreenCorner corner, ScreenChoice screen);

// The moxel, `width` by `height` artwork pixels at `scale`, flush in `corner` of the chosen
// monitor; RectBeside places its bar from the answer.
moxel_anchor PlaceMoxel(std::span<const monitor_area> monitors, ScreenCorner corner, ScreenChoice screen, int scale,
                        int width, int height);

// A `width` by `height` rectangle beside the moxel on its side that faces the middle of the
// screen, level with the moxel's edge on the screen's border, moved back inside the screen
// where it would stick out (its top-left corner wins when the screen is smaller than it).
pixel_rect RectBeside(const moxel_anchor& anchor, int width, int height);
