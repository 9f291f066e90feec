#include "moxel/full_screen_watch.h"

#include <iterator>
#include <type_traits>
#include <utility>

#include "moxel/full_screen.h"
#include "window/dpi.h"
#include "window/window.h"

namespace {

pixel_rect ToPixelRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

// The desktop: the system's window behind all others, the shell's, and the shell's window
// behind the desktop icons.
bool IsDesktop(HWND window) {
  if (window == GetDesktopWindow() || window == GetShellWindow()) return true;
  wchar_t name[9];
  const int length = GetClassNameW(window, name, std::size(name));
  return length == 7 && (!lstrcmpW(name, L"Progman") || !lstrcmpW(name, L"WorkerW"));
}

// Whether `window` covers `screen`; a window that is gone reads as not shown. Who the window
// is matters only when it covers the screen, so the cheaper facts are read first.
bool WindowCoversScreen(HWND window, const pixel_rect& screen) {
  front_window front;
  RECT rect, client;
  POINT origin{0, 0};
  if (!GetWindowRect(window, &rect) || !GetClientRect(window, &client) || !ClientToScreen(window, &origin))
    return false;
  front.window = ToPixelRect(rect);
  front.client = {origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  front.captioned = (style & WS_CAPTION) == WS_CAPTION;
  front.shown = (style & WS_VISIBLE) && !(style & WS_MINIMIZE);
  if (!CoversScreen(front, screen)) return false;
  front.desktop = IsDesktop(window);
  front.ours = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)) == ModuleInstance();
  return CoversScreen(front, screen);
}

}  // namespace

void full_screen_watch::Follow(const pixel_rect& screen) {
  if (!Watching()) Hook();
  // Refused by the system: not watching, the watch has reported nothing covered.
  if (!Watching()) return;
  // A fresh look, in case an event was missed.
  front_ = GetForegroundWindow();
  screen_ = screen;
  Evaluate();
}

bool full_screen_watch::Stop() {
  Unhook();
  return std::exchange(covered_, false);
}

// Nothing on this path throws: Win32 calls, and the moxel's and bar's messages pass their
// window procedures' guard.
void CALLBACK full_screen_watch::OnEvent(HWINEVENTHOOK self, DWORD event, HWND window, LONG object, LONG, DWORD,
                                         DWORD) {
  auto* const watch = reinterpret_cast<full_screen_watch*>(self);
  // An event queued before the watch stopped reports nothing.
  if (!watch->Watching()) return;
  if (event == EVENT_SYSTEM_FOREGROUND) {
    watch->front_ = window;
  } else if (window != watch->front_ || (object != OBJID_WINDOW && event >= EVENT_OBJECT_DESTROY)) {
    // Only the foreground window's own changes matter: the pointer's and the caret's moves
    // come in a torrent, and so do those of other windows and of the window's parts (the
    // object events name the part; the minimising ones are the window's).
    return;
  } else if (event == EVENT_OBJECT_LOCATIONCHANGE) {
    return watch->OnMove();
  }
  watch->Evaluate();
}

void full_screen_watch::OnMove() {
  // Measuring the window costs several calls into the system, more than the event's
  // delivery: a move while the timer runs is measured when it ticks.
  if (timer_) {
    moved_ = true;
    return;
  }
  timer_ = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, timerStub_.get<TIMERPROC>());
  Evaluate();
}

// A tick comes only when the thread's queue holds nothing else, so a torrent of moves ends
// in one measurement.
void CALLBACK full_screen_watch::OnTimer(HWND self, UINT, UINT_PTR, DWORD) {
  auto* const watch = reinterpret_cast<full_screen_watch*>(self);
  if (watch->moved_) return watch->Evaluate();
  // The window stands still: the next move is measured at once again.
  watch->StopTimer();
}

void full_screen_watch::StopTimer() {
  if (timer_) KillTimer(nullptr, timer_);
  timer_ = 0;
  moved_ = false;
}

void full_screen_watch::Hook() {
  // Taking the foreground; minimised or restored; destroyed, shown or hidden; moved or sized.
  static constexpr DWORD Ranges[std::extent_v<decltype(hooks_)>][2] = {
      {EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND},
      {EVENT_SYSTEM_MINIMIZESTART, EVENT_SYSTEM_MINIMIZEEND},
      {EVENT_OBJECT_DESTROY, EVENT_OBJECT_HIDE},
      {EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE}};
  if (!eventStub_.Route(this, &OnEvent) || !timerStub_.Route(this, &OnTimer)) return;
  for (size_t i = 0; i < std::size(hooks_); ++i) {
    hooks_[i] = HookWinEvents(Ranges[i][0], Ranges[i][1], eventStub_.get<WINEVENTPROC>());
    if (!hooks_[i]) return Unhook();
  }
}

void full_screen_watch::Unhook() {
  for (win_event_hook& hook : hooks_) hook.reset();
  StopTimer();
}

void full_screen_watch::Evaluate() {
  moved_ = false;
  const per_monitor_dpi_scope aware;
  Report(WindowCoversScreen(front_, screen_));
}

void full_screen_watch::Report(bool covered) {
  if (covered == covered_) return;
  covered_ = covered;
  listener_.OnScreenCovered(covered);
}
