// The command tree on the preferences page: the dialog's tree-view control, taken over by
// subclassing, showing the command tree model.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <set>
#include <string>

#include "preferences/menu_tree_model.h"
#include "window/window.h"

class CMenuTreeCtrl : public CWindowImpl<CMenuTreeCtrl> {
 public:
  // A parent that reflects notifications sends them back to the control at this offset.
  static constexpr UINT ReflectedBase = WM_USER + 0x1C00;

  BOOL Attach(HWND tree) { return SubclassWindow(tree); }

  // Replaces the model and every item; `filter` is already lower-cased ("" shows everything).
  // Redrawing is off while it runs.
  void Rebuild(const std::wstring& filter);

  // Turns redrawing back on after a rebuild that a failing host call cut short.
  void ResumeRedraw();

  MenuTreeNode* FindNode(const GUID& guid) const { return model_.FindNode(guid); }

  // The node behind a tree item; null for an item this tree does not know.
  MenuTreeNode* NodeFromItem(HTREEITEM item) const;

  BEGIN_MSG_MAP(CMenuTreeCtrl)
  MESSAGE_HANDLER(ReflectedBase + WM_NOTIFY, OnReflected)
  MESSAGE_HANDLER(ReflectedBase + WM_COMMAND, OnReflected)
  MESSAGE_HANDLER(ReflectedBase + WM_DRAWITEM, OnReflected)
  MESSAGE_HANDLER(ReflectedBase + WM_MEASUREITEM, OnReflected)
  MESSAGE_HANDLER(ReflectedBase + WM_DELETEITEM, OnReflected)
  MESSAGE_HANDLER(ReflectedBase + WM_VKEYTOITEM, OnReflected)
  MESSAGE_HANDLER(ReflectedBase + WM_CHARTOITEM, OnReflected)
  MESSAGE_HANDLER(ReflectedBase + WM_COMPAREITEM, OnReflected)
  MESSAGE_HANDLER(ReflectedBase + WM_HSCROLL, OnReflected)
  MESSAGE_HANDLER(ReflectedBase + WM_VSCROLL, OnReflected)
  MESSAGE_HANDLER(ReflectedBase + WM_PARENTNOTIFY, OnReflected)
  if (uMsg >= ReflectedBase + WM_CTLCOLORMSGBOX && uMsg <= ReflectedBase + WM_CTLCOLORSTATIC) {
    lResult = OnReflected(uMsg, wParam, lParam, bHandled);
    return TRUE;
  }
  END_MSG_MAP()

 private:
  // Notifications reflected back to a control get the default processing of the original.
  LRESULT OnReflected(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
    return DefWindowProcW(m_hWnd, message - ReflectedBase, wParam, lParam);
  }

  void InsertItems(HTREEITEM parent, MenuTreeNode& node);

  MenuTreeModel model_;
  bool redrawSuspended_ = false;
  std::set<const MenuTreeNode*> itemNodes_;  // the nodes items of this build point at
};
