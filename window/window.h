// A small window framework: a handle wrapper, and a window implementation base whose
// message map answers the messages it handles and passes every other one on.
#pragma once

#include <windows.h>

// The instance handle of the module this code is linked into (the component library).
HINSTANCE ModuleInstance();

class CWindow {
 public:
  explicit CWindow(HWND window = nullptr) : m_hWnd(window) {}

  operator HWND() const { return m_hWnd; }
  BOOL IsWindow() const { return ::IsWindow(m_hWnd); }
  BOOL DestroyWindow() { return ::DestroyWindow(m_hWnd); }
  BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
  BOOL MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE) {
    return ::MoveWindow(m_hWnd, x, y, width, height, repaint);
  }
  BOOL SetWindowPos(HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    return ::SetWindowPos(m_hWnd, insertAfter, x, y, width, height, flags);
  }
  BOOL GetWindowRect(RECT* rect) const { return ::GetWindowRect(m_hWnd, rect); }
  BOOL GetClientRect(RECT* rect) const { return ::GetClientRect(m_hWnd, rect); }
  BOOL InvalidateRect(const RECT* rect, BOOL erase = TRUE) { return ::InvalidateRect(m_hWnd, rect, erase); }
  UINT_PTR SetTimer(UINT_PTR id, UINT milliseconds) { return ::SetTimer(m_hWnd, id, milliseconds, nullptr); }
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }

  HWND m_hWnd;
};

// What a window class of this library registers with.
struct window_class_info {
  const wchar_t* name;
  UINT style;
  const wchar_t* cursor;  // a system cursor id
};

// Registers the class under this module unless it is registered already; the library
// unregisters the classes it registered when it unloads. Answers false when the class is
// not there.
bool EnsureWindowClass(const window_class_info& info, WNDPROC procedure);

// Has the library unregister a class it registered when it unloads.
void RememberRegisteredClass(const wchar_t* name);

// The shared part of every window implementation: the window procedure that routes
// messages to the object's message map.
class window_impl_base : public CWindow {
 public:
  window_impl_base() = default;
  window_impl_base(const window_impl_base&) = delete;
  window_impl_base& operator=(const window_impl_base&) = delete;
  virtual ~window_impl_base();

  // Answers whether the message was handled; `result` is then the message's result.
  virtual BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
  // Called after the window's last message, with the handle already cleared.
  virtual void OnFinalMessage(HWND window);

 protected:
  HWND CreateWindowOfClass(const window_class_info& info, HWND parent, const RECT& rect, const wchar_t* text,
                           DWORD style, DWORD exStyle);

  // Takes over an existing window: its messages come to the map first, and those the map
  // does not handle go on to the window's own procedure.
  BOOL SubclassWindow(HWND window);

  // The class procedure of this library's windows: it attaches the window being created.
  static LRESULT CALLBACK StartWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // Creates a modeless dialog from this library's template `id` as a child of `parent`;
  // its messages come to the map, with the dialog manager's default processing for the rest.
  HWND CreateDialogFromTemplate(UINT id, HWND parent);

  // Runs the message map, turning an exception into "handled, result 0": an exception must
  // not unwind into the system's message dispatch, which would end the host.
  BOOL ProcessMessageSafely(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  // Every message of an attached window enters through a small per-object stub that puts the
  // object in place of the window handle, so finding the object costs nothing: the moxel
  // sees every mouse event of the system.
  struct thunk;
  static LRESULT CALLBACK ThunkedWindowProc(HWND self, UINT message, WPARAM wParam, LPARAM lParam);
  static INT_PTR CALLBACK StartDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  static INT_PTR CALLBACK ThunkedDialogProc(HWND self, UINT message, WPARAM wParam, LPARAM lParam);
  // Makes this object's stub; false (last error ERROR_OUTOFMEMORY) without memory for it.
  bool AllocateStub();
  // Routes the window's procedure at `index` (window or dialog procedure) through this
  // object's allocated stub, which calls `target`; answers the previous procedure.
  LONG_PTR Attach(HWND window, int index, void* target);
  LRESULT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR DialogDispatch(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void AfterLastMessage(HWND window);

  WNDPROC previous_ = DefWindowProcW;
  thunk* thunk_ = nullptr;
};

template <class T>
class CWindowImpl : public window_impl_base {
 public:
  // Creates the window with the class T::GetWndClassInfo() describes.
  HWND Create(HWND parent, const RECT& rect, const wchar_t* text, DWORD style, DWORD exStyle) {
    return CreateWindowOfClass(T::GetWndClassInfo(), parent, rect, text, style, exStyle);
  }
};

template <class T>
class CDialogImpl : public window_impl_base {
 public:
  // Creates the dialog from template T::IDD.
  HWND Create(HWND parent) { return CreateDialogFromTemplate(T::IDD, parent); }
};

// The message map: one handler per message, each answering the message's result and
// clearing `handled` when the message should go on to default processing.
#define BEGIN_MSG_MAP(cls)                                                                        \
  BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) \
      override {                                                                                  \
    (void)hWnd;                                                                                   \
    BOOL bHandled = TRUE;

#define MESSAGE_HANDLER(msg, func)                  \
  if (uMsg == (msg)) {                              \
    bHandled = TRUE;                                \
    lResult = func(uMsg, wParam, lParam, bHandled); \
    if (bHandled) return TRUE;                      \
  }

// A WM_COMMAND from control `id` with notification `code`.
#define COMMAND_HANDLER(id, notification, func)                                      \
  if (uMsg == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == (notification)) { \
    bHandled = TRUE;                                                                 \
    lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled); \
    if (bHandled) return TRUE;                                                       \
  }

// A WM_NOTIFY from control `id` with notification `code`.
#define NOTIFY_HANDLER(id, notification, func)                                             \
  if (uMsg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->idFrom == (id) &&             \
      reinterpret_cast<NMHDR*>(lParam)->code == UINT(notification)) {                      \
    bHandled = TRUE;                                                                       \
    lResult = func(int(wParam), reinterpret_cast<NMHDR*>(lParam), bHandled);               \
    if (bHandled) return TRUE;                                                             \
  }

#define END_MSG_MAP() \
  return FALSE;       \
  }
