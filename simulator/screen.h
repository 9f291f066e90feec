// Pixels read back from the screen itself.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct screen_capture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // rows from the top

  COLORREF At(int x, int y) const {
    const uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
    return RGB(p[0], p[1], p[2]);
  }
};

screen_capture CaptureScreen(const RECT& area);

// Saves the capture as PNG, each pixel drawn as a `scale` by `scale` square.
bool SaveCapture(const screen_capture& capture, const std::string& path, int scale);
