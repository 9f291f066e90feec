// The caption control that titles a section of the preferences page: bold text, then an
// etched rule at mid-height to the right edge. The dialog template names its class.
#pragma once

#include <windows.h>

#include "window/message_map.h"
#include "window/window.h"

class CSeparator final : public CSelfCreatingWindowImpl<CSeparator> {
 public:
  static const window_class_info& GetWndClassInfo();

  BEGIN_MSG_MAP(CSeparator)
  MSG_WM_PAINT(Paint)
  MSG_WM_SETFONT(UseFont)
  MSG_WM_GETFONT(Font)
  MSG_WM_SETTEXT(RepaintForText)
  END_MSG_MAP()

 private:
  void UseFont(HFONT font, BOOL redraw);
  HFONT Font() const { return font_; }
  // Repaints, and leaves storing the text to the default processing.
  int RepaintForText(const wchar_t*);
  void Paint();

  HFONT font_ = nullptr;  // set by WM_SETFONT, not owned
};
