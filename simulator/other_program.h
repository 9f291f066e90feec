// Another program's window for the tests and benchmarks: a pop-up with a thread and message
// loop of its own. Wine raises no accessibility events for another thread's window, so the
// program raises them itself, from its own thread, where the system would.
#pragma once

#include <windows.h>

class other_program {
 public:
  // Shows a pop-up window (no title bar) at `rect` without activating it.
  explicit other_program(const RECT& rect);
  // Destroys the window, raising its destruction event, and ends the thread.
  ~other_program();
  other_program(const other_program&) = delete;
  other_program& operator=(const other_program&) = delete;

  HWND window() const { return window_; }

  // Raises `event` for the window itself, from the window's thread.
  void Raise(DWORD event) const;
  // Takes the foreground and raises the foreground event.
  void TakeForeground() const;
  // Moves and sizes the window to `rect` and raises its location change.
  void Place(const RECT& rect) const;

 private:
  static DWORD WINAPI Run(void* self);
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  RECT rect_;
  HWND window_ = nullptr;
  HANDLE created_ = nullptr;
  HANDLE thread_ = nullptr;
};
