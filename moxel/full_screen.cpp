#include "moxel/full_screen.h"

namespace {
bool Covers(const pixel_rect& outer, const pixel_rect& inner) {
  return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
         outer.bottom >= inner.bottom;
}
}  // namespace

bool CoversScreen(const front_window& front, const pixel_rect& screen) {
  if (!front.shown || front.desktop || front.ours) return false;
  if (screen.left >= screen.right || screen.top >= screen.bottom) return false;
  return Covers(front.client, screen) || (!front.captioned && Covers(front.window, screen));
}
