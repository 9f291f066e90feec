// Follows the foreground window through the system's accessibility events and tells the
// moxel when a window covers the whole screen the moxel stands on, and when that ends. While
// it is off, nothing is hooked. The window's moves, which come in a torrent while it is
// dragged or sized, are measured at the first at once, then at most once a timer period
// until they stop.
#pragma once

#include <windows.h>

#include "placement/placement.h"
#include "window/callback_stub.h"
#include "window/win_event_hook.h"

class screen_cover_listener {
 public:
  // The moxel's screen became covered (true) or free again (false).
  virtual void OnScreenCovered(bool covered) = 0;

 protected:
  ~screen_cover_listener() = default;
};

// Each watch finds itself through stubs of its own: any number can watch at once.
class full_screen_watch {
 public:
  explicit full_screen_watch(screen_cover_listener& listener) : listener_(listener) {}
  ~full_screen_watch() { Stop(); }
  full_screen_watch(const full_screen_watch&) = delete;
  full_screen_watch& operator=(const full_screen_watch&) = delete;

  // Watches (hooking on this thread, whose message loop runs the callbacks) whether a window
  // in front covers `screen`, the moxel's monitor in per-monitor pixels, and reports at once a
  // cover that began or ended. Refused by the system, it watches nothing and reports nothing,
  // and the screen stays free.
  void Follow(const pixel_rect& screen);
  // Unhooks without reporting, and answers whether it had reported the screen covered: a
  // listener that stays then takes the screen as free itself.
  bool Stop();

 private:
  // The targets of the stubs, which bring the watch as the first argument.
  static void CALLBACK OnEvent(HWINEVENTHOOK self, DWORD event, HWND window, LONG object, LONG, DWORD, DWORD);
  static void CALLBACK OnTimer(HWND self, UINT, UINT_PTR, DWORD);
  bool Watching() const { return hooks_[0] != nullptr; }  // hooked all or none
  void Hook();
  void Unhook();
  void OnMove();
  void StopTimer();
  void Evaluate();
  void Report(bool covered);

  screen_cover_listener& listener_;
  HWND front_ = nullptr;  // the foreground window as last reported
  pixel_rect screen_{};   // the moxel's screen, in per-monitor pixels
  bool covered_ = false;
  bool moved_ = false;       // the window moved since it was last measured
  UINT_PTR timer_ = 0;       // a thread timer, set while the window moves
  callback_stub eventStub_;  // enters OnEvent
  callback_stub timerStub_;  // enters OnTimer
  win_event_hook hooks_[4];  // unhooked before their stub goes
};
