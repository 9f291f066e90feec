// Pixels read back from the screen itself, or from a window.
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
// The client area of `window` as the window last painted it, whether or not the screen shows
// it yet.
screen_capture CaptureClient(HWND window);

// Saves the capture as PNG, each pixel drawn as a `scale` by `scale` square.
bool SaveCapture(const screen_capture& capture, const std::string& path, int scale);

// The screen's density in dots per inch.
int ScreenDpi();

// The Wine prefix's screen density (the desktop's LogPixels), which Wine reads when a
// process starts: processes started while this object lives see the density it sets. The
// prefix's own comes back with this object's end.
class prefix_dpi {
 public:
  prefix_dpi();
  ~prefix_dpi();
  prefix_dpi(const prefix_dpi&) = delete;
  prefix_dpi& operator=(const prefix_dpi&) = delete;

  bool Set(DWORD dpi);

 private:
  HKEY key_ = nullptr;
  DWORD stored_ = 0;
  bool had_ = false;  // the prefix names a density of its own
};
