// The screen's corners and the rectangles the moxel's tests expect in them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

enum corner : uint32_t { TopLeft, TopRight, BottomLeft, BottomRight };
inline const char* const CornerNames[4] = {"top left", "top right", "bottom left", "bottom right"};

inline bool IsRight(uint32_t c) { return c == TopRight || c == BottomRight; }
inline bool IsBottom(uint32_t c) { return c == BottomLeft || c == BottomRight; }

inline SIZE ScreenSize() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

inline bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::string Text(const RECT& r) {
  char text[64];
  std::snprintf(text, sizeof text, "{%ld, %ld, %ld, %ld}", r.left, r.top, r.right, r.bottom);
  return text;
}

// The `side` by `side` square in corner `c` of the screen as it is now.
inline RECT Square(uint32_t c, int side) {
  const SIZE screen = ScreenSize();
  const LONG left = IsRight(c) ? screen.cx - side : 0, top = IsBottom(c) ? screen.cy - side : 0;
  return {left, top, left + side, top + side};
}

// A point `inset` pixels in from both edges of corner `c`.
inline POINT InCorner(uint32_t c, int inset) {
  const SIZE screen = ScreenSize();
  return {IsRight(c) ? screen.cx - 1 - inset : inset, IsBottom(c) ? screen.cy - 1 - inset : inset};
}
