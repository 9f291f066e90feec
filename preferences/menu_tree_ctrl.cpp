#include "preferences/menu_tree_ctrl.h"

#include <algorithm>

#include "host/player/player.h"

void CMenuTreeCtrl::Rebuild(const std::wstring& filter) {
  // The items go before the nodes they point at; redrawing waits for the whole build.
  redrawSuspended_ = true;
  SetRedraw(FALSE);
  Tree().DeleteAllItems();
  itemNodes_.clear();
  if (player::connected()) {
    model_.Build(filter);
  } else {
    model_.Clear();
  }
  if (MenuTreeNode* root = model_.root()) InsertItems(TVI_ROOT, *root);
  ResumeRedraw();
}

void CMenuTreeCtrl::ResumeRedraw() {
  if (!redrawSuspended_ || !IsWindow()) return;
  redrawSuspended_ = false;
  SetRedraw(TRUE);
  InvalidateRect(nullptr, TRUE);
}

void CMenuTreeCtrl::InsertItems(HTREEITEM parent, MenuTreeNode& node) {
  HTREEITEM item = parent;
  if (!node.isContainer || node.hasOwnItem) {
    // The node goes in with the item: one message instead of an insert and a set.
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<wchar_t*>(node.name.c_str());
    insert.item.lParam = LPARAM(&node);
    item = Tree().InsertItem(&insert);
    itemNodes_.push_back(&node);
  }
  if (node.isContainer) {
    for (auto& child : node.children) InsertItems(item, *child);
    Tree().Expand(item);
  } else {
    node.treeItem = item;
  }
}

MenuTreeNode* CMenuTreeCtrl::NodeFromItem(HTREEITEM item) const {
  TVITEMW data{};
  data.mask = TVIF_PARAM;
  data.hItem = item;
  if (!Tree().GetItem(&data)) return nullptr;
  auto* node = reinterpret_cast<MenuTreeNode*>(data.lParam);
  // Looked for only when the user picks an item.
  return std::find(itemNodes_.begin(), itemNodes_.end(), node) != itemNodes_.end() ? node : nullptr;
}
