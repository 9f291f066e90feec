#include "simulator/screen.h"

#include "simulator/png_codec.h"

namespace {

// The pixels of `area`, in the coordinates of `source`, that `source` holds.
screen_capture CaptureFrom(HDC source, const RECT& area) {
  screen_capture capture;
  capture.width = area.right - area.left;
  capture.height = area.bottom - area.top;
  const HDC memory = CreateCompatibleDC(source);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), capture.width, -capture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, capture.width, capture.height, source, area.left, area.top, SRCCOPY);
  GdiFlush();
  const auto* bgra = static_cast<const uint8_t*>(bits);
  for (int i = 0; i < capture.width * capture.height; ++i) {
    capture.rgb.insert(capture.rgb.end(), {bgra[i * 4 + 2], bgra[i * 4 + 1], bgra[i * 4]});
  }
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  return capture;
}

}  // namespace

screen_capture CaptureScreen(const RECT& area) {
  const HDC screen = GetDC(nullptr);
  screen_capture capture = CaptureFrom(screen, area);
  ReleaseDC(nullptr, screen);
  return capture;
}

screen_capture CaptureClient(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  const HDC dc = GetDC(window);
  screen_capture capture = CaptureFrom(dc, client);
  ReleaseDC(window, dc);
  return capture;
}

bool SaveCapture(const screen_capture& capture, const std::string& path, int scale) {
  std::vector<uint8_t> scaled;
  for (int y = 0; y < capture.height * scale; ++y) {
    for (int x = 0; x < capture.width * scale; ++x) {
      const uint8_t* p = &capture.rgb[(size_t(y / scale) * capture.width + x / scale) * 3];
      scaled.insert(scaled.end(), p, p + 3);
    }
  }
  return WritePng(path, capture.width * scale, capture.height * scale, scaled);
}

int ScreenDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

prefix_dpi::prefix_dpi() {
  RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                  &key_, nullptr);
  DWORD size = sizeof stored_;
  had_ =
      RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&stored_), &size) == ERROR_SUCCESS;
}

prefix_dpi::~prefix_dpi() {
  if (!key_) return;
  if (had_)
    Set(stored_);
  else
    RegDeleteValueW(key_, L"LogPixels");
  RegCloseKey(key_);
}

bool prefix_dpi::Set(DWORD dpi) {
  return key_ && RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi) ==
                     ERROR_SUCCESS;
}
