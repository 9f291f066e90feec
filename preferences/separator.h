// The caption control that titles a section of the preferences page: bold text, then an
// etched rule at mid-height to the right edge. Window class "quorbel:separator".
#pragma once

#include <windows.h>

class CSeparator {
 public:
  static constexpr const wchar_t* ClassName = L"quorbel:separator";

  // Registers the class under this library on the first call in the process; the library
  // unregisters it when it unloads.
  static void EnsureClass();

 private:
  explicit CSeparator(HWND window) : window_(window) {}

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Answers whether the message was handled.
  bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void Paint();

  HWND window_;
  HFONT font_ = nullptr;  // set by WM_SETFONT, not owned
};
