// Owning types for the device contexts and GDI objects the windows make: each gives back
// what it took when it goes out of scope, on every path.
#pragma once

#include <windows.h>

// A window's paint: BeginPaint in the constructor, EndPaint in the destructor.
class paint_dc {
 public:
  explicit paint_dc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~paint_dc() { EndPaint(window_, &paint_); }
  paint_dc(const paint_dc&) = delete;
  paint_dc& operator=(const paint_dc&) = delete;

  operator HDC() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_;
  HDC dc_;
};

// A memory device context compatible with another, deleted with this object.
class memory_dc {
 public:
  explicit memory_dc(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
  ~memory_dc() {
    if (dc_) DeleteDC(dc_);
  }
  memory_dc(const memory_dc&) = delete;
  memory_dc& operator=(const memory_dc&) = delete;

  operator HDC() const { return dc_; }

 private:
  HDC dc_;
};

// An object selected into a device context for this object's lifetime; the one it replaced
// goes back in after.
class selected_object {
 public:
  selected_object(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~selected_object() {
    if (previous_) SelectObject(dc_, previous_);
  }
  selected_object(const selected_object&) = delete;
  selected_object& operator=(const selected_object&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A GDI object (font, bitmap) this object owns and deletes; null when there is none.
template <class Handle>
class gdi_object {
 public:
  gdi_object() = default;
  explicit gdi_object(Handle handle) : handle_(handle) {}
  ~gdi_object() { reset(); }
  gdi_object(const gdi_object&) = delete;
  gdi_object& operator=(const gdi_object&) = delete;

  void reset(Handle handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }
  Handle get() const { return handle_; }

 private:
  Handle handle_ = nullptr;
};

using owned_font = gdi_object<HFONT>;
