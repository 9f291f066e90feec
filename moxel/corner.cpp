#include "moxel/corner.h"

#include <algorithm>

namespace {
bool IsRight(ScreenCorner corner) { return corner == ScreenCorner::TopRight || corner == ScreenCorner::BottomRight; }
bool IsBottom(ScreenCorner corner) { return corner == ScreenCorner::BottomLeft || corner == ScreenCorner::BottomRight; }
}  // namespace

pixel_rect RectInCorner(const pixel_rect& area, ScreenCorner corner, int width, int height) {
  const int left = IsRight(corner) ? area.right - width : area.left;
  const int top = IsBottom(corner) ? area.bottom - height : area.top;
  return {left, top, left + width, top + height};
}

pixel_rect RectBeside(const moxel_anchor& anchor, int width, int height) {
  const pixel_rect& moxel = anchor.moxel;
  const pixel_rect& screen = anchor.screen;
  int left = IsRight(anchor.corner) ? moxel.left - width : moxel.right;
  int top = IsBottom(anchor.corner) ? moxel.bottom - height : moxel.top;
  left = std::max(std::min(left, screen.right - width), screen.left);
  top = std::max(std::min(top, screen.bottom - height), screen.top);
  return {left, top, left + width, top + height};
}
