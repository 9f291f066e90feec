#include "placement/placement.h"

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

pixel_rect ChosenMonitor(std::span<const monitor_area> monitors, ScreenCorner corner, ScreenChoice screen) {
  if (monitors.empty()) return {};
  const monitor_area* chosen = &monitors.front();
  for (const monitor_area& monitor : monitors)
    if (monitor.main) {
      chosen = &monitor;
      break;
    }
  if (screen == ScreenChoice::Main) return chosen->rect;
  // How far out the monitor's corner lies: towards the left or top is less, so negated.
  const auto outwards = [corner](const pixel_rect& area) {
    const long long across = IsRight(corner) ? area.right : -(long long)area.left;
    const long long down = IsBottom(corner) ? area.bottom : -(long long)area.top;
    return across + down;
  };
  for (const monitor_area& monitor : monitors)
    if (outwards(monitor.rect) > outwards(chosen->rect)) chosen = &monitor;
  return chosen->rect;
}

moxel_anchor PlaceMoxel(std::span<const monitor_area> monitors, ScreenCorner corner, ScreenChoice screen, int scale,
                        int width, int height) {
  const pixel_rect monitor = ChosenMonitor(monitors, corner, screen);
  return {RectInCorner(monitor, corner, width * scale, height * scale), monitor, corner, scale};
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
