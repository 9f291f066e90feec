// The host's main-menu commands as a tree under "[main]", nested in their menu groups,
// sorted by priority and pruned by a filter. Built afresh from the host's services.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "host/player/player.h"

struct MenuTreeNode {
  uint32_t sortPriority = 0;
  std::wstring name;  // "[main]", a popup group's name, "" for other groups, a command's text
  GUID guid{};
  GUID parentGuid{};
  bool hasOwnItem = true;  // false for a group that is not a popup: its children take its place
  bool isContainer = false;
  std::vector<std::unique_ptr<MenuTreeNode>> children;
  void* treeItem = nullptr;  // a command's tree item once inserted
};

class MenuTreeModel {
 public:
  // Replaces the whole tree by the player's current groups and commands, keeping what the
  // already lower-cased `filter` finds (everything when it is empty).
  void Build(const std::wstring& filter);

  // The node for `guid` (the root for the all-zero GUID), or null.
  MenuTreeNode* FindNode(const GUID& guid) const;
  MenuTreeNode* root() const { return root_.get(); }

  void Clear();

 private:
  MenuTreeNode* AddNode(MenuTreeNode&& values);
  bool ApplyFilter(MenuTreeNode& node, std::wstring_view filter);
  void CollectGroups();
  void CollectCommands();

  std::map<GUID, MenuTreeNode*, guid_byte_less> nodeIndex_;
  std::unique_ptr<MenuTreeNode> root_;
  // Only during a build: the host's groups by GUID, and the groups being added.
  std::map<GUID, MenuTreeNode, guid_byte_less> groupTable_;
  std::set<GUID, guid_byte_less> adding_;
};
