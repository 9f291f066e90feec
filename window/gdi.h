// Owning types for the device contexts and GDI objects the windows make: each gives back
// what it took when it goes out of scope, on every path.
#pragma once

#include <windows.h>

#include "window/window.h"

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
  constexpr gdi_object() = default;
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

// The size of `bitmap`, false when it cannot be read.
inline bool BitmapSize(HBITMAP bitmap, SIZE& size) {
  BITMAP info;
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return false;
  size = {info.bmWidth, info.bmHeight};
  return true;
}

// A bitmap of this module's resources, loaded on first use and deleted with this object;
// null when it cannot be loaded.
class resource_bitmap {
 public:
  constexpr explicit resource_bitmap(int id) : id_(id) {}

  HBITMAP get() {
    if (!loaded_) {
      loaded_ = true;
      bitmap_.reset(LoadBitmapW(ModuleInstance(), MAKEINTRESOURCEW(id_)));
    }
    return bitmap_.get();
  }

 private:
  int id_;
  bool loaded_ = false;
  gdi_object<HBITMAP> bitmap_;
};
