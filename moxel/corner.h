// Where on the primary screen the moxel stands, and where its volume bar opens beside it.
#pragma once

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
  pixel_rect screen;
  ScreenCorner corner;
  int scale = 1;  // screen pixels per artwork pixel, across and down
};

// A `width` by `height` rectangle beside the moxel on its side that faces the middle of the
// screen, level with the moxel's edge on the screen's border, moved back inside the screen
// where it would stick out (its top-left corner wins when the screen is smaller than it).
pixel_rect RectBeside(const moxel_anchor& anchor, int width, int height);
