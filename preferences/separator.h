// The caption control that titles a section of the preferences page: bold text, then an
// etched rule at mid-height to the right edge. Window class "quorbel:separator".
#pragma once

#include <windows.h>

#include "window/window.h"

class CSeparator final : public CSelfCreatingWindowImpl<CSeparator> {
 public:
  static const window_class_info& GetWndClassInfo();

  BEGIN_MSG_MAP(CSeparator)
  MSG_WM_PAINT(Paint)
  MESSAGE_HANDLER(WM_SETFONT, OnSetFont)
  MESSAGE_HANDLER(WM_GETFONT, OnGetFont)
  MESSAGE_HANDLER(WM_SETTEXT, OnSetText)
  END_MSG_MAP()

 private:
  LRESULT OnSetFont(UINT, WPARAM font, LPARAM redraw, BOOL&);
  LRESULT OnGetFont(UINT, WPARAM, LPARAM, BOOL&) { return LRESULT(font_); }
  LRESULT OnSetText(UINT, WPARAM, LPARAM, BOOL& handled);
  void Paint();

  HFONT font_ = nullptr;  // set by WM_SETFONT, not owned
};
