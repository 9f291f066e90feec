#include "simulator/other_program.h"

namespace {
constexpr wchar_t ClassName[] = L"other program";
constexpr UINT RaiseEvent = WM_APP;  // wParam: the event
constexpr UINT TakeTheForeground = WM_APP + 1;
}  // namespace

other_program::other_program(const RECT& rect) : rect_(rect) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = HBRUSH(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = ClassName;
  RegisterClassW(&wc);
  created_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
  WaitForSingleObject(created_, 10000);
}

other_program::~other_program() {
  if (window_) SendMessageW(window_, WM_CLOSE, 0, 0);
  WaitForSingleObject(thread_, 10000);
  CloseHandle(thread_);
  CloseHandle(created_);
}

void other_program::Raise(DWORD event) const { SendMessageW(window_, RaiseEvent, event, 0); }

void other_program::TakeForeground() const { SendMessageW(window_, TakeTheForeground, 0, 0); }

void other_program::Place(const RECT& rect) const {
  SetWindowPos(window_, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  Raise(EVENT_OBJECT_LOCATIONCHANGE);
}

DWORD WINAPI other_program::Run(void* self) {
  auto& program = *static_cast<other_program*>(self);
  const RECT& rect = program.rect_;
  program.window_ =
      CreateWindowExW(0, ClassName, L"other program", WS_POPUP, rect.left, rect.top, rect.right - rect.left,
                      rect.bottom - rect.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (program.window_) ShowWindow(program.window_, SW_SHOWNOACTIVATE);
  SetEvent(program.created_);
  MSG message;
  while (program.window_ && GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}

LRESULT CALLBACK other_program::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case RaiseEvent: NotifyWinEvent(DWORD(wParam), window, OBJID_WINDOW, CHILDID_SELF); return 0;
    case TakeTheForeground:
      SetForegroundWindow(window);
      NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, window, OBJID_WINDOW, CHILDID_SELF);
      return 0;
    case WM_DESTROY:
      NotifyWinEvent(EVENT_OBJECT_DESTROY, window, OBJID_WINDOW, CHILDID_SELF);
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
