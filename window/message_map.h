// The message map and its typed crackers, apart from the window implementations that run it
// (window/window.h): a map reads as a table of the messages a window handles, one typed
// handler each.
#pragma once

#include <windows.h>

#include "window/window.h"

// The message map: one typed handler per message. Each cracker unpacks its message's
// parameters as the message defines them and answers the handler's result, unless the
// handler called SetMsgHandled(FALSE): the message then goes on as if the entry were not
// there.
#define BEGIN_MSG_MAP(cls)                                                                                   \
  BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override { \
    (void)hWnd;                                                                                              \
    (void)wParam;                                                                                            \
    (void)lParam;

// Runs `handle` for the messages that meet `condition`, and answers `answer` unless the
// handler declined.
#define MSG_CRACKER(condition, handle, answer) \
  if (condition) {                             \
    this->SetMsgHandled(TRUE);                 \
    handle;                                    \
    if (this->IsMsgHandled()) {                \
      lResult = (answer);                      \
      return TRUE;                             \
    }                                          \
  }
#define MSG_HANDLER_RESULT(msg, call) MSG_CRACKER(uMsg == (msg), const LRESULT answer = LRESULT(call), answer)
#define MSG_HANDLER_VOID(msg, call) MSG_CRACKER(uMsg == (msg), call, 0)

// int func(CREATESTRUCTW*): 0 goes on with the creation, -1 ends it.
#define MSG_WM_CREATE(func) MSG_HANDLER_RESULT(WM_CREATE, func(reinterpret_cast<CREATESTRUCTW*>(lParam)))
// void func()
#define MSG_WM_DESTROY(func) MSG_HANDLER_VOID(WM_DESTROY, func())
#define MSG_WM_PAINT(func) MSG_HANDLER_VOID(WM_PAINT, func())
#define MSG_WM_SYNCPAINT(func) MSG_HANDLER_VOID(WM_SYNCPAINT, func())
#define MSG_WM_MOUSELEAVE(func) MSG_HANDLER_VOID(WM_MOUSELEAVE, func())
// int func(HWND topLevel, UINT hitTest, UINT mouseMessage): one of the MA_ values.
#define MSG_WM_MOUSEACTIVATE(func) \
  MSG_HANDLER_RESULT(WM_MOUSEACTIVATE, func(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam)))
// LRESULT func(WPARAM flags, LPARAM objectId): the object's reference as LresultFromObject
// makes it, or 0 for the system's default answer.
#define MSG_WM_GETOBJECT(func) MSG_HANDLER_RESULT(WM_GETOBJECT, func(wParam, lParam))
// void func(UINT dpi, const RECT* suggested): the window's monitor's new density, and the
// place the system proposes for the window at it.
#define MSG_WM_DPICHANGED(func) \
  MSG_HANDLER_VOID(WM_DPICHANGED, func(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam)))
// void func(UINT bitsPerPixel, SIZE screen)
#define MSG_WM_DISPLAYCHANGE(func) \
  MSG_HANDLER_VOID(WM_DISPLAYCHANGE, func(UINT(wParam), SIZE{LOWORD(lParam), HIWORD(lParam)}))
// void func(UINT action, const wchar_t* section): action is an SPI_SET value or 0.
#define MSG_WM_SETTINGCHANGE(func) \
  MSG_HANDLER_VOID(WM_SETTINGCHANGE, func(UINT(wParam), reinterpret_cast<const wchar_t*>(lParam)))
// void func(UINT code, HRAWINPUT input): code is RIM_INPUT or RIM_INPUTSINK.
#define MSG_WM_INPUT(func) \
  MSG_HANDLER_VOID(WM_INPUT, func(GET_RAWINPUT_CODE_WPARAM(wParam), reinterpret_cast<HRAWINPUT>(lParam)))
// void func(UINT_PTR id)
#define MSG_WM_TIMER(func) MSG_HANDLER_VOID(WM_TIMER, func(UINT_PTR(wParam)))
// void func(UINT keys, POINT client)
#define MSG_WM_MOUSEMOVE(func) \
  MSG_HANDLER_VOID(WM_MOUSEMOVE, func(UINT(wParam), POINT{short(LOWORD(lParam)), short(HIWORD(lParam))}))
// void func(UINT message, UINT keys) for every button-down and button-up message of the
// client area; the X button messages answer TRUE, as they must.
#define MSG_WM_MOUSEBUTTONS(func)                                                                                   \
  MSG_CRACKER(uMsg == WM_LBUTTONDOWN || uMsg == WM_LBUTTONUP || uMsg == WM_RBUTTONDOWN || uMsg == WM_RBUTTONUP ||   \
                  uMsg == WM_MBUTTONDOWN || uMsg == WM_MBUTTONUP || uMsg == WM_XBUTTONDOWN || uMsg == WM_XBUTTONUP, \
              func(uMsg, LOWORD(wParam)), uMsg == WM_XBUTTONDOWN || uMsg == WM_XBUTTONUP)
// BOOL func(HWND focus, LPARAM initialisation): TRUE lets the dialog manager set the focus.
#define MSG_WM_INITDIALOG(func) MSG_HANDLER_RESULT(WM_INITDIALOG, func(reinterpret_cast<HWND>(wParam), lParam))
// void func(UINT code, UINT position, HWND bar)
#define MSG_WM_HSCROLL(func) \
  MSG_HANDLER_VOID(WM_HSCROLL, func(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)))
// void func(HFONT font, BOOL redraw)
#define MSG_WM_SETFONT(func) MSG_HANDLER_VOID(WM_SETFONT, func(reinterpret_cast<HFONT>(wParam), BOOL(LOWORD(lParam))))
// HFONT func()
#define MSG_WM_GETFONT(func) MSG_HANDLER_RESULT(WM_GETFONT, func())
// int func(const wchar_t* text): TRUE when the text is set.
#define MSG_WM_SETTEXT(func) MSG_HANDLER_RESULT(WM_SETTEXT, func(reinterpret_cast<const wchar_t*>(lParam)))

// void func(UINT notification, int id, HWND control) for WM_COMMAND from control `id` with
// notification `notification`.
#define COMMAND_HANDLER_EX(id, notification, func)                                              \
  MSG_CRACKER(uMsg == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == (notification), \
              func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam)), 0)

// LRESULT func(NMHDR*) for WM_NOTIFY from control `id` with notification `notification`.
#define NOTIFY_HANDLER_EX(id, notification, func)                                      \
  MSG_CRACKER(uMsg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->idFrom == (id) && \
                  reinterpret_cast<NMHDR*>(lParam)->code == UINT(notification),        \
              const LRESULT answer = func(reinterpret_cast<NMHDR*>(lParam)), answer)

// Every message reflected back to this control gets the default processing of the original
// (DefaultReflectionHandler).
#define DEFAULT_REFLECTION_HANDLER() \
  if (DefaultReflectionHandler(hWnd, uMsg, wParam, lParam, lResult)) return TRUE;

#define END_MSG_MAP() \
  return FALSE;       \
  }
