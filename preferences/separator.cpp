#include "preferences/separator.h"

#include <new>

#include "window/gdi.h"
#include "window/window.h"

namespace {
bool g_class_registered = false;
}  // namespace

void CSeparator::EnsureClass() {
  if (g_class_registered) return;
  WNDCLASSW wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = WindowProc;
  wc.cbWndExtra = sizeof(CSeparator*);
  wc.hInstance = ModuleInstance();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = ClassName;
  if (RegisterClassW(&wc)) RememberRegisteredClass(ClassName);
  g_class_registered = true;
}

LRESULT CALLBACK CSeparator::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    // No exception may leave a window procedure: without memory for the object the
    // separator is a plain default window.
    SetWindowLongPtrW(window, 0, LONG_PTR(new (std::nothrow) CSeparator(window)));
  }
  auto* self = reinterpret_cast<CSeparator*>(GetWindowLongPtrW(window, 0));
  LRESULT result = 0;
  if (!self || !self->ProcessMessage(message, wParam, lParam, result)) result = DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY && self) {
    SetWindowLongPtrW(window, 0, 0);
    delete self;
  }
  return result;
}

bool CSeparator::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_PAINT:
      Paint();
      result = 0;
      return true;
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(window_, nullptr, TRUE);
      result = 0;
      return true;
    case WM_GETFONT:
      result = LRESULT(font_);
      return true;
    case WM_SETTEXT:
      InvalidateRect(window_, nullptr, TRUE);
      return false;  // the default processing stores the text
    default:
      return false;
  }
}

void CSeparator::Paint() {
  const paint_dc dc(window_);
  wchar_t text[512];
  const int length = GetWindowTextW(window_, text, 512);
  RECT client;
  GetClientRect(window_, &client);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkMode(dc, TRANSPARENT);
  const auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(GetParent(window_), WM_CTLCOLORSTATIC, WPARAM(static_cast<HDC>(dc)), LPARAM(window_)));
  if (brush) FillRect(dc, &client, brush);
  const selected_object font(dc, reinterpret_cast<HFONT>(SendMessageW(window_, WM_GETFONT, 0, 0)));
  if (length > 0) {
    RECT box = client;
    DrawTextW(dc, text, length, &box, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  SIZE whole, probe;
  if (GetTextExtentPoint32W(dc, text, length, &whole) && GetTextExtentPoint32W(dc, L"#\0", 2, &probe)) {
    const int gap = whole.cx > 0 ? probe.cx / 4 : 0;
    if (whole.cx + gap < client.right - client.left) {
      RECT rule{client.left + whole.cx + gap, (client.top + client.bottom) / 2, client.right, client.bottom};
      DrawEdge(dc, &rule, EDGE_ETCHED, BF_TOP);
    }
  }
}
