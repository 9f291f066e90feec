// The command tree on the preferences page: the dialog's tree-view control, taken over by
// subclassing, showing the command tree model.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "preferences/menu_tree_model.h"
#include "window/controls.h"
#include "window/message_map.h"
#include "window/window.h"

class CMenuTreeCtrl final : public CWindowImpl<CMenuTreeCtrl> {
 public:
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
  DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

 private:
  // The tree-view messages to this window.
  CTreeViewCtrl Tree() const { return CTreeViewCtrl(m_hWnd); }
  void InsertItems(HTREEITEM parent, MenuTreeNode& node);

  MenuTreeModel model_;
  bool redrawSuspended_ = false;
  std::vector<const MenuTreeNode*> itemNodes_;  // the nodes items of this build point at
};
