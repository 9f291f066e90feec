// The corners of a screen and the rectangles the moxel's tests expect in them.
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

inline RECT MainScreen() {
  const SIZE screen = ScreenSize();
  return {0, 0, screen.cx, screen.cy};
}

// The `side` by `side` square in corner `c` of `screen`, by default the main screen as it is now.
inline RECT Square(uint32_t c, int side, const RECT& screen = MainScreen()) {
  const LONG left = IsRight(c) ? screen.right - side : screen.left;
  const LONG top = IsBottom(c) ? screen.bottom - side : screen.top;
  return {left, top, left + side, top + side};
}

// A point `inset` pixels in from both edges of corner `c` of `screen`.
inline POINT InCorner(uint32_t c, int inset, const RECT& screen = MainScreen()) {
  return {IsRight(c) ? screen.right - 1 - inset : screen.left + inset,
          IsBottom(c) ? screen.bottom - 1 - inset : screen.top + inset};
}

// The volume bar beside the grown moxel in corner `c` of `screen`: on the side towards the
// screen's middle, level with the moxel's edge on the screen's border.
inline RECT BarBeside(uint32_t c, const RECT& screen = MainScreen()) {
  const LONG left = IsRight(c) ? screen.right - 14 - 59 : screen.left + 14;
  const LONG top = IsBottom(c) ? screen.bottom - 14 : screen.top;
  return {left, top, left + 59, top + 14};
}
