#include "preferences/menu_tree_model.h"

#include <algorithm>

#include "preferences/filter_text.h"

namespace {

MenuTreeNode Prototype(uint32_t priority, std::wstring name, const GUID& guid, const GUID& parent, bool hasOwnItem,
                       bool isContainer) {
  MenuTreeNode node;
  node.sortPriority = priority;
  node.name = std::move(name);
  node.guid = guid;
  node.parentGuid = parent;
  node.hasOwnItem = hasOwnItem;
  node.isContainer = isContainer;
  return node;
}

}  // namespace

void MenuTreeModel::Clear() {
  nodeIndex_.clear();
  root_.reset();
}

MenuTreeNode* MenuTreeModel::FindNode(const GUID& guid) const {
  const auto found = nodeIndex_.find(guid);
  return found == nodeIndex_.end() ? nullptr : found->second;
}

void MenuTreeModel::Build(const std::wstring& filter) {
  Clear();
  groupTable_.clear();
  root_ = std::make_unique<MenuTreeNode>(Prototype(0, L"[main]", GUID{}, GUID{}, true, true));
  nodeIndex_[GUID{}] = root_.get();
  CollectGroups();
  CollectCommands();
  ApplyFilter(*root_, filter);
  groupTable_.clear();
}

void MenuTreeModel::CollectGroups() {
  player::for_each_menu_group([this](player::menu_group_item& group) {
    // The first group reported under a GUID stays.
    groupTable_.emplace(group.guid, Prototype(group.sort_priority, std::move(group.name), group.guid, group.parent,
                                              group.is_popup, true));
  });
}

void MenuTreeModel::CollectCommands() {
  player::for_each_menu_command([this](player::menu_command_item& command) {
    AddNode(Prototype(command.sort_priority, std::move(command.name), command.guid, command.parent, true, false));
  });
}

MenuTreeNode* MenuTreeModel::AddNode(MenuTreeNode&& values) {
  MenuTreeNode* parent = FindNode(values.parentGuid);
  if (!parent) {
    const auto group = groupTable_.find(values.parentGuid);
    // A group already being added is a cycle in the host's group parentage: its member
    // hangs under the root instead.
    if (group != groupTable_.end() && adding_.insert(group->first).second) {
      const MenuTreeNode& found = group->second;
      parent = AddNode(
          Prototype(found.sortPriority, found.name, found.guid, found.parentGuid, found.hasOwnItem, found.isContainer));
      adding_.erase(group->first);
    } else {
      parent = root_.get();
    }
  }
  auto node = std::make_unique<MenuTreeNode>(std::move(values));
  MenuTreeNode* added = node.get();
  nodeIndex_.emplace(added->guid, added);  // an entry already there stays
  parent->children.push_back(std::move(node));
  return added;
}

bool MenuTreeModel::ApplyFilter(MenuTreeNode& node, std::wstring_view filter) {
  std::stable_sort(node.children.begin(), node.children.end(),
                   [](const auto& a, const auto& b) { return a->sortPriority < b->sortPriority; });
  bool stays = filter.empty();
  std::wstring_view childFilter = filter;
  if (!stays && ContainsLowered(node.name, filter)) {
    stays = true;
    childFilter = {};  // a matching node keeps its whole subtree
  }
  for (size_t i = node.children.size(); i-- > 0;) {
    MenuTreeNode& child = *node.children[i];
    if (ApplyFilter(child, childFilter)) {
      stays = true;
      continue;
    }
    const auto indexed = nodeIndex_.find(child.guid);
    if (indexed != nodeIndex_.end() && indexed->second == &child) nodeIndex_.erase(indexed);
    node.children.erase(node.children.begin() + std::ptrdiff_t(i));
  }
  return stays;
}
