#include "window/window.h"

#include <string>
#include <utility>
#include <vector>

extern "C" IMAGE_DOS_HEADER __ImageBase;

HINSTANCE ModuleInstance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

namespace {

// The classes this library registered, unregistered when the library unloads.
class registered_classes {
 public:
  ~registered_classes() {
    for (const std::wstring& name : names_) UnregisterClassW(name.c_str(), ModuleInstance());
  }
  void Add(const wchar_t* name) { names_.emplace_back(name); }

 private:
  std::vector<std::wstring> names_;
};

registered_classes g_registered_classes;

const wchar_t ObjectProperty[] = L"moxel.window.object";

// The object whose window is being created; its first message attaches it.
thread_local window_impl_base* t_creating = nullptr;

}  // namespace

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
  g_registered_classes.Add(info.name);
  return true;
}

void window_impl_base::OnFinalMessage(HWND) {}

HWND window_impl_base::CreateWindowOfClass(const window_class_info& info, HWND parent, const RECT& rect,
                                           const wchar_t* text, DWORD style, DWORD exStyle) {
  if (!EnsureWindowClass(info, WindowProc)) return nullptr;
  t_creating = this;
  const HWND window = CreateWindowExW(exStyle, info.name, text, style, rect.left, rect.top, rect.right - rect.left,
                                      rect.bottom - rect.top, parent, nullptr, ModuleInstance(), nullptr);
  t_creating = nullptr;
  return window;
}

BOOL window_impl_base::SubclassWindow(HWND window) {
  if (m_hWnd || !::IsWindow(window)) return FALSE;
  Attach(window);
  previous_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&window_impl_base::WindowProc)));
  return TRUE;
}

void window_impl_base::Attach(HWND window) {
  m_hWnd = window;
  SetPropW(window, ObjectProperty, this);
}

LRESULT window_impl_base::Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  BOOL handled;
  // An exception must not unwind into the system's message dispatch, which would end the
  // host. A handler that fails (a host service missing or throwing) ends its message as if
  // the feature it serves were missing.
  try {
    handled = ProcessWindowMessage(window, message, wParam, lParam, result);
  } catch (...) {
    handled = TRUE;
    result = 0;
  }
  if (!handled) result = CallWindowProcW(previous_, window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    RemovePropW(window, ObjectProperty);
    if (previous_ != DefWindowProcW)
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    previous_ = DefWindowProcW;
    m_hWnd = nullptr;
    OnFinalMessage(window);
  }
  return result;
}

LRESULT CALLBACK window_impl_base::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<window_impl_base*>(GetPropW(window, ObjectProperty));
  if (!self && t_creating) {
    self = std::exchange(t_creating, nullptr);
    self->Attach(window);
  }
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  return self->Dispatch(window, message, wParam, lParam);
}
