#include "window/window.h"

#include <string>
#include <utility>
#include <vector>

extern "C" IMAGE_DOS_HEADER __ImageBase;

HINSTANCE ModuleInstance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

namespace {

// The classes the library registered. Constructed before, and so destroyed after, every window
// object of the library.
class window_module {
 public:
  ~window_module() {
    for (const std::wstring& name : classes_) UnregisterClassW(name.c_str(), ModuleInstance());
  }
  void RememberClass(const wchar_t* name) { classes_.emplace_back(name); }

 private:
  std::vector<std::wstring> classes_;
};

window_module g_window_module __attribute__((init_priority(1000)));

// The object whose window is being created; its first message attaches it.
thread_local window_impl_base* t_creating = nullptr;

}  // namespace

void RememberRegisteredClass(const wchar_t* name) { g_window_module.RememberClass(name); }

bool EnsureWindowClass(const window_class_info& info, WNDPROC procedure) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(ModuleInstance(), info.name, &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = info.style;
  wc.lpfnWndProc = procedure;
  wc.hInstance = ModuleInstance();
  wc.hCursor = info.cursor ? LoadCursorW(nullptr, info.cursor) : nullptr;
  wc.lpszClassName = info.name;
  if (!RegisterClassExW(&wc)) return false;
  RememberRegisteredClass(info.name);
  return true;
}

void window_impl_base::OnFinalMessage(HWND) {}

HWND window_impl_base::CreateWindowOfClass(const window_class_info& info, HWND parent, const RECT& rect,
                                           const wchar_t* text, DWORD style, DWORD exStyle) {
  if (!EnsureWindowClass(info, StartWindowProc) || !MakeStub()) return nullptr;
  t_creating = this;
  const HWND window = CreateWindowExW(exStyle, info.name, text, style, rect.left, rect.top, rect.right - rect.left,
                                      rect.bottom - rect.top, parent, nullptr, ModuleInstance(), nullptr);
  t_creating = nullptr;
  return window;
}

BOOL window_impl_base::SubclassWindow(HWND window) {
  if (m_hWnd || !::IsWindow(window) || !MakeStub()) return FALSE;
  previous_ = reinterpret_cast<WNDPROC>(Attach(window, GWLP_WNDPROC));
  return TRUE;
}

HWND window_impl_base::CreateDialogFromTemplate(UINT id, HWND parent) {
  if (!stub_.Route(this, &ThunkedDialogProc)) return nullptr;
  t_creating = this;
  const HWND dialog = CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(id), parent, StartDialogProc, 0);
  t_creating = nullptr;
  return dialog;
}

LONG_PTR window_impl_base::Attach(HWND window, int index) {
  m_hWnd = window;
  return SetWindowLongPtrW(window, index, stub_.get<LONG_PTR>());
}

void window_impl_base::AfterLastMessage(HWND window) {
  m_hWnd = nullptr;
  OnFinalMessage(window);
}

LRESULT window_impl_base::FinishMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, BOOL handled,
                                        LRESULT result) {
  if (!handled) result = CallWindowProcW(previous_, window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    if (previous_ != DefWindowProcW) SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    previous_ = DefWindowProcW;
    AfterLastMessage(window);
  }
  return result;
}

INT_PTR window_impl_base::DialogDispatch(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  const BOOL handled = ProcessMessageSafely(*this, dialog, message, wParam, lParam, result);
  if (message == WM_NCDESTROY) AfterLastMessage(dialog);
  if (!handled) return FALSE;
  switch (message) {
    // These answer through the dialog procedure's own result.
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return result;
    default:
      if (message != WM_NCDESTROY) SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
      return TRUE;
  }
}

LRESULT CALLBACK window_impl_base::StartWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  window_impl_base* self = std::exchange(t_creating, nullptr);
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  return self->AttachAndDispatch(window, message, wParam, lParam);
}

LRESULT window_impl_base::AttachAndDispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Attach(window, GWLP_WNDPROC);
  return windowProc_(reinterpret_cast<HWND>(this), message, wParam, lParam);
}

INT_PTR CALLBACK window_impl_base::StartDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  window_impl_base* self = std::exchange(t_creating, nullptr);
  if (!self) return FALSE;
  self->Attach(dialog, DWLP_DLGPROC);
  return self->DialogDispatch(dialog, message, wParam, lParam);
}

INT_PTR CALLBACK window_impl_base::ThunkedDialogProc(HWND self, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* object = reinterpret_cast<window_impl_base*>(self);
  return object->DialogDispatch(object->m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK window_impl_base::ThunkedWindowProc(HWND self, UINT message, WPARAM wParam, LPARAM lParam) {
  return Dispatch(*reinterpret_cast<window_impl_base*>(self), message, wParam, lParam);
}
