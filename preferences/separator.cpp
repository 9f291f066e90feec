#include "preferences/separator.h"

#include "resources/window_classes.h"
#include "window/gdi.h"

const window_class_info& CSeparator::GetWndClassInfo() {
  static const window_class_info info{SeparatorClassName, CS_HREDRAW | CS_VREDRAW, IDC_ARROW};
  return info;
}

void CSeparator::UseFont(HFONT font, BOOL redraw) {
  font_ = font;
  if (redraw) InvalidateRect(nullptr, TRUE);
}

int CSeparator::RepaintForText(const wchar_t*) {
  InvalidateRect(nullptr, TRUE);
  SetMsgHandled(FALSE);
  return 0;
}

void CSeparator::Paint() {
  const paint_dc dc(m_hWnd);
  wchar_t text[512];
  const int length = GetWindowTextW(m_hWnd, text, 512);
  RECT client;
  GetClientRect(&client);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkMode(dc, TRANSPARENT);
  const auto brush = reinterpret_cast<HBRUSH>(
      GetParent().SendMessage(WM_CTLCOLORSTATIC, WPARAM(static_cast<HDC>(dc)), LPARAM(m_hWnd)));
  if (brush) FillRect(dc, &client, brush);
  const selected_object font(dc, font_);
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
