// Thin wrappers for the common controls a dialog drives: one message per method, sent
// through CWindow::SendMessage.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "window/window.h"

class CListViewCtrl : public CWindow {
 public:
  using CWindow::CWindow;
  int GetItemCount() const { return int(SendMessage(LVM_GETITEMCOUNT)); }
  BOOL SetItemCount(int count) { return BOOL(SendMessage(LVM_SETITEMCOUNT, WPARAM(count))); }
  int GetNextItem(int start, UINT flags) const { return int(SendMessage(LVM_GETNEXTITEM, WPARAM(start), flags)); }
  BOOL SetItemState(int item, LVITEMW* state) {
    return BOOL(SendMessage(LVM_SETITEMSTATE, WPARAM(item), LPARAM(state)));
  }
  BOOL EnsureVisible(int item, BOOL partialOk) { return BOOL(SendMessage(LVM_ENSUREVISIBLE, WPARAM(item), partialOk)); }
  BOOL Update(int item) { return BOOL(SendMessage(LVM_UPDATE, WPARAM(item))); }
  int GetStringWidth(const wchar_t* text) const { return int(SendMessage(LVM_GETSTRINGWIDTHW, 0, LPARAM(text))); }
  int InsertColumn(int index, const LVCOLUMNW* column) {
    return int(SendMessage(LVM_INSERTCOLUMNW, WPARAM(index), LPARAM(column)));
  }
  BOOL SetColumnWidth(int index, int width) { return BOOL(SendMessage(LVM_SETCOLUMNWIDTH, WPARAM(index), width)); }
  DWORD SetExtendedListViewStyle(DWORD mask, DWORD style) {
    return DWORD(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style));
  }
  BOOL DeleteItem(int item) { return BOOL(SendMessage(LVM_DELETEITEM, WPARAM(item))); }
  BOOL DeleteAllItems() { return BOOL(SendMessage(LVM_DELETEALLITEMS)); }
};

class CTrackBarCtrl : public CWindow {
 public:
  using CWindow::CWindow;
  int GetPos() const { return int(SendMessage(TBM_GETPOS, 0, 0)); }
  void SetPos(int position, BOOL redraw = TRUE) { SendMessage(TBM_SETPOS, redraw, position); }
  void SetRange(int minimum, int maximum, BOOL redraw = FALSE) {
    SendMessage(TBM_SETRANGE, redraw, MAKELONG(minimum, maximum));
  }
};

class CComboBox : public CWindow {
 public:
  using CWindow::CWindow;
  int AddString(const wchar_t* text) { return int(SendMessage(CB_ADDSTRING, 0, LPARAM(text))); }
  int SetItemData(int index, DWORD_PTR data) { return int(SendMessage(CB_SETITEMDATA, WPARAM(index), data)); }
  DWORD_PTR GetItemData(int index) const { return DWORD_PTR(SendMessage(CB_GETITEMDATA, WPARAM(index), 0)); }
  int GetCurSel() const { return int(SendMessage(CB_GETCURSEL, 0, 0)); }
  int SetCurSel(int index) { return int(SendMessage(CB_SETCURSEL, WPARAM(index), 0)); }
};

class CButton : public CWindow {
 public:
  using CWindow::CWindow;
  UINT GetCheck() const { return UINT(SendMessage(BM_GETCHECK, 0, 0)); }
  void SetCheck(UINT state) { SendMessage(BM_SETCHECK, state, 0); }
};

class CTreeViewCtrl : public CWindow {
 public:
  using CWindow::CWindow;
  HTREEITEM InsertItem(const TVINSERTSTRUCTW* insert) {
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMW, 0, LPARAM(insert)));
  }
  BOOL DeleteAllItems() { return BOOL(SendMessage(TVM_DELETEITEM, 0, LPARAM(TVI_ROOT))); }
  BOOL Expand(HTREEITEM item, UINT code = TVE_EXPAND) { return BOOL(SendMessage(TVM_EXPAND, code, LPARAM(item))); }
  BOOL GetItem(TVITEMW* item) const { return BOOL(SendMessage(TVM_GETITEMW, 0, LPARAM(item))); }
  BOOL SelectItem(HTREEITEM item) { return BOOL(SendMessage(TVM_SELECTITEM, TVGN_CARET, LPARAM(item))); }
};
