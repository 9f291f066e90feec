#include "simulator/control_text.h"

std::wstring TreeItemText(HWND tree, HTREEITEM item) {
  wchar_t text[256] = L"";
  TVITEMW data{};
  data.mask = TVIF_TEXT;
  data.hItem = item;
  data.pszText = text;
  data.cchTextMax = 256;
  SendMessageW(tree, TVM_GETITEMW, 0, LPARAM(&data));
  return text;
}
