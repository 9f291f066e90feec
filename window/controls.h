// Thin wrappers for the common controls a dialog drives: one message per method.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "window/window.h"

class CListViewCtrl : public CWindow {
 public:
  using CWindow::CWindow;
  int GetItemCount() const { return int(Send(LVM_GETITEMCOUNT)); }
  BOOL SetItemCount(int count) { return BOOL(Send(LVM_SETITEMCOUNT, WPARAM(count))); }
  int GetNextItem(int start, UINT flags) const { return int(Send(LVM_GETNEXTITEM, WPARAM(start), flags)); }
  BOOL SetItemState(int item, LVITEMW* state) { return BOOL(Send(LVM_SETITEMSTATE, WPARAM(item), LPARAM(state))); }
  BOOL EnsureVisible(int item, BOOL partialOk) { return BOOL(Send(LVM_ENSUREVISIBLE, WPARAM(item), partialOk)); }
  BOOL Update(int item) { return BOOL(Send(LVM_UPDATE, WPARAM(item))); }
  int GetStringWidth(const wchar_t* text) const { return int(Send(LVM_GETSTRINGWIDTHW, 0, LPARAM(text))); }
  int InsertColumn(int index, const LVCOLUMNW* column) {
    return int(Send(LVM_INSERTCOLUMNW, WPARAM(index), LPARAM(column)));
  }
  BOOL SetColumnWidth(int index, int width) { return BOOL(Send(LVM_SETCOLUMNWIDTH, WPARAM(index), width)); }
  DWORD SetExtendedListViewStyle(DWORD mask, DWORD style) {
    return DWORD(Send(LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style));
  }
  BOOL DeleteItem(int item) { return BOOL(Send(LVM_DELETEITEM, WPARAM(item))); }
  BOOL DeleteAllItems() { return BOOL(Send(LVM_DELETEALLITEMS)); }

 private:
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
};

class CTrackBarCtrl : public CWindow {
 public:
  using CWindow::CWindow;
  int GetPos() const { return int(::SendMessageW(m_hWnd, TBM_GETPOS, 0, 0)); }
  void SetPos(int position, BOOL redraw = TRUE) { ::SendMessageW(m_hWnd, TBM_SETPOS, redraw, position); }
  void SetRange(int minimum, int maximum, BOOL redraw = FALSE) {
    ::SendMessageW(m_hWnd, TBM_SETRANGE, redraw, MAKELONG(minimum, maximum));
  }
};

class CComboBox : public CWindow {
 public:
  using CWindow::CWindow;
  int AddString(const wchar_t* text) { return int(::SendMessageW(m_hWnd, CB_ADDSTRING, 0, LPARAM(text))); }
  int SetItemData(int index, DWORD_PTR data) {
    return int(::SendMessageW(m_hWnd, CB_SETITEMDATA, WPARAM(index), data));
  }
  DWORD_PTR GetItemData(int index) const { return DWORD_PTR(::SendMessageW(m_hWnd, CB_GETITEMDATA, WPARAM(index), 0)); }
  int GetCurSel() const { return int(::SendMessageW(m_hWnd, CB_GETCURSEL, 0, 0)); }
  int SetCurSel(int index) { return int(::SendMessageW(m_hWnd, CB_SETCURSEL, WPARAM(index), 0)); }
};

class CButton : public CWindow {
 public:
  using CWindow::CWindow;
  UINT GetCheck() const { return UINT(::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0)); }
  void SetCheck(UINT state) { ::SendMessageW(m_hWnd, BM_SETCHECK, state, 0); }
};
