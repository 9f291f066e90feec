// A small window framework: a handle wrapper, class registration, window traits, and the
// window and dialog implementations whose message map (written with window/message_map.h)
// answers the messages it handles and passes every other one on.
#pragma once

#include <windows.h>

#include <new>

#include "window/callback_stub.h"

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
  BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
  CWindow GetParent() const { return CWindow(::GetParent(m_hWnd)); }

  // Every message this library sends to a window goes through here; the wrappers' methods
  // name the messages.
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
  HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
  void SetFont(HFONT font, BOOL redraw = TRUE) { SendMessage(WM_SETFONT, WPARAM(font), MAKELPARAM(redraw, 0)); }
  void SetRedraw(BOOL redraw) { SendMessage(WM_SETREDRAW, redraw); }

  HWND m_hWnd;
};

// A parent that reflects notifications to the control that sent them sends each back at
// this offset from its number.
constexpr UINT ReflectedMessageBase = WM_USER + 0x1C00;

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
  virtual ~window_impl_base() = default;

  // Answers whether the message was handled; `result` is then the message's result.
  virtual BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
  // Called after the window's last message, with the handle already cleared.
  virtual void OnFinalMessage(HWND window);

  // Whether the typed handler running now handles its message. Its cracker sets it before
  // calling the handler; a handler that clears it passes the message on, to the map's next
  // entry for the message and then to the default or previous procedure. A message sent
  // from inside a handler has a flag of its own.
  BOOL IsMsgHandled() const { return msgHandled_; }
  void SetMsgHandled(BOOL handled) { msgHandled_ = handled != FALSE; }

  // Answers a message that a parent reflected back to its control (ReflectedMessageBase
  // plus a notification's number) with the default processing of the original message.
  static BOOL DefaultReflectionHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const UINT original = message - ReflectedMessageBase;
    switch (original) {
      case WM_COMMAND:
      case WM_NOTIFY:
      case WM_PARENTNOTIFY:
      case WM_DRAWITEM:
      case WM_MEASUREITEM:
      case WM_COMPAREITEM:
      case WM_DELETEITEM:
      case WM_VKEYTOITEM:
      case WM_CHARTOITEM:
      case WM_HSCROLL:
      case WM_VSCROLL: break;
      default:
        if (original < WM_CTLCOLORMSGBOX || original > WM_CTLCOLORSTATIC) return FALSE;
    }
    result = DefWindowProcW(window, original, wParam, lParam);
    return TRUE;
  }

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

  // The stub of a window of T enters `windowProc` (see CWindowImpl).
  explicit window_impl_base(WNDPROC windowProc) : windowProc_(windowProc) {}

  // Runs `object`'s message map, turning an exception into "handled, result 0": an exception
  // must not unwind into the system's message dispatch, which would end the host. Through a
  // final class T the map is called directly.
  template <class T>
  static BOOL ProcessMessageSafely(T& object, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   LRESULT& result) {
    window_impl_base& base = object;
    // The handler that sent this message, if any, finds its own flag again afterwards.
    const bool outerHandled = base.msgHandled_;
    BOOL handled = TRUE;
    // A handler that fails (a host service missing or throwing) ends its message as if the
    // feature it serves were missing.
    try {
      handled = object.ProcessWindowMessage(window, message, wParam, lParam, result);
    } catch (...) {
      result = 0;
    }
    base.msgHandled_ = outerHandled;
    return handled;
  }

  // Answers a message of `object`'s window: its map's result, or for a message the map did
  // not handle, the default or previous procedure's.
  template <class T>
  static LRESULT Dispatch(T& object, UINT message, WPARAM wParam, LPARAM lParam) {
    window_impl_base& base = object;
    const HWND window = base.m_hWnd;
    LRESULT result = 0;
    const BOOL handled = ProcessMessageSafely(object, window, message, wParam, lParam, result);
    if (handled && message != WM_NCDESTROY) return result;
    return base.FinishMessage(window, message, wParam, lParam, handled, result);
  }

  // Makes this object's stub, which enters its window procedure; false (last error
  // ERROR_OUTOFMEMORY) without memory for it.
  bool MakeStub() { return stub_.Route(this, windowProc_); }
  // Routes the messages of `window`, from its first one on, to this object's message map.
  LRESULT AttachAndDispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK ThunkedWindowProc(HWND self, UINT message, WPARAM wParam, LPARAM lParam);
  static INT_PTR CALLBACK StartDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  static INT_PTR CALLBACK ThunkedDialogProc(HWND self, UINT message, WPARAM wParam, LPARAM lParam);
  // Sets the window's procedure at `index` (window or dialog procedure) to this object's
  // stub; answers the previous procedure.
  LONG_PTR Attach(HWND window, int index);
  // The rarer end of Dispatch: the previous procedure, and after the window's last message,
  // the object's release of the window.
  LRESULT FinishMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, BOOL handled, LRESULT result);
  INT_PTR DialogDispatch(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void AfterLastMessage(HWND window);

  WNDPROC windowProc_ = ThunkedWindowProc;  // where the stub of an attached window goes
  WNDPROC previous_ = DefWindowProcW;
  // Every message of an attached window enters through this stub, which puts the object in
  // place of the window handle.
  callback_stub stub_;
  bool msgHandled_ = true;  // a byte: every entry of every map stores and tests it
};

// The styles a window implementation creates its windows with, named once.
template <DWORD Style, DWORD ExStyle = 0>
struct CWinTraits {
  static constexpr DWORD style = Style;
  static constexpr DWORD exStyle = ExStyle;
};
using CNullTraits = CWinTraits<0, 0>;
// A small popup above every other window that never takes activation.
using CTopmostToolTraits = CWinTraits<WS_POPUP | WS_VISIBLE, WS_EX_NOACTIVATE | WS_EX_WINDOWEDGE | WS_EX_TOOLWINDOW |
                                                                 WS_EX_ACCEPTFILES | WS_EX_TOPMOST>;

template <class T, class Traits = CNullTraits>
class CWindowImpl : public window_impl_base {
 public:
  CWindowImpl() : window_impl_base(&WindowProc) {}

  // Creates the window with the class T::GetWndClassInfo() describes and Traits' styles.
  HWND Create(HWND parent, const RECT& rect, const wchar_t* text) {
    return CreateWindowOfClass(T::GetWndClassInfo(), parent, rect, text, Traits::style, Traits::exStyle);
  }

 private:
  // The stub's target for T's windows: the object is a T, so a final T's map is called
  // directly, and may be inlined here.
  static LRESULT CALLBACK WindowProc(HWND self, UINT message, WPARAM wParam, LPARAM lParam) {
    return Dispatch(static_cast<T&>(*reinterpret_cast<window_impl_base*>(self)), message, wParam, lParam);
  }
};

// A window whose creation is not the object's: something else, such as a dialog template,
// creates windows of T's class, and the class procedure makes the object on each window's
// first message; the object ends with the window's last. Without memory for the object the
// window is a plain default window.
template <class T>
class CSelfCreatingWindowImpl : public window_impl_base {
 public:
  // Registers T::GetWndClassInfo()'s class under this module unless it is there already.
  static bool EnsureClass() { return EnsureWindowClass(T::GetWndClassInfo(), &CreatingWindowProc); }

 protected:
  void OnFinalMessage(HWND) override { delete this; }

 private:
  static LRESULT CALLBACK CreatingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    T* object = new (std::nothrow) T;
    if (!object || !object->MakeStub()) {
      delete object;
      return DefWindowProcW(window, message, wParam, lParam);
    }
    return object->AttachAndDispatch(window, message, wParam, lParam);
  }
};

template <class T>
class CDialogImpl : public window_impl_base {
 public:
  // Creates the dialog from template T::IDD.
  HWND Create(HWND parent) { return CreateDialogFromTemplate(T::IDD, parent); }
};
