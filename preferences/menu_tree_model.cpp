#include "preferences/menu_tree_model.h"

#include <algorithm>

#include "host/boundary.h"
#include "host/string_impl.h"
#include "preferences/host_text.h"

namespace {

// Enumerates the instances of a service class by index until the host yields none, keeping
// one reference at a time. A host that reports an instance but hands back none ends it too.
template <class T, class Visit>
void ForEachInstance(host_api_object& api, Visit visit) {
  const service_class_handle cls = boundary::call([&] { return api.find_class(T::class_guid); });
  service_ptr_t<service_base> instance;
  const auto next = [&](uint32_t index) {
    return boundary::call([&] { return api.create_instance(instance.receive(), cls, index); }) && instance;
  };
  for (uint32_t index = 0; next(index); ++index) visit(*static_cast<T*>(instance.get()));
}

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

void MenuTreeModel::Build(host_api_object& api, const std::wstring& filter) {
  Clear();
  groupTable_.clear();
  root_ = std::make_unique<MenuTreeNode>(Prototype(0, L"[main]", GUID{}, GUID{}, true, true));
  nodeIndex_[GUID{}] = root_.get();
  CollectGroups(api);
  CollectCommands(api);
  ApplyFilter(*root_, filter);
  groupTable_.clear();
}

void MenuTreeModel::CollectGroups(host_api_object& api) {
  ForEachInstance<menu_group>(api, [this](menu_group& group) {
    GUID guid, parent;
    boundary::call([&] {
      group.get_guid(&guid);
      group.get_parent(&parent);
    });
    const uint32_t priority = boundary::call([&] { return group.get_sort_priority(); });
    service_ptr_t<menu_group_popup> popup;
    std::wstring name;
    const bool isPopup = service_query_t(group, popup);
    if (isPopup) {
      string8_impl text;
      boundary::call([&] { popup->get_display_string(text); });
      name = WideFromHost(text.get_ptr(), text.get_length());
    }
    // The first group reported under a GUID stays.
    groupTable_.emplace(guid, Prototype(priority, std::move(name), guid, parent, isPopup, true));
  });
}

void MenuTreeModel::CollectCommands(host_api_object& api) {
  ForEachInstance<command_provider>(api, [this](command_provider& provider) {
    const uint32_t count = boundary::call([&] { return provider.get_command_count(); });
    GUID parent;
    boundary::call([&] { provider.get_parent(&parent); });
    for (uint32_t i = 0; i < count; ++i) {
      GUID guid;
      boundary::call([&] { provider.get_command(&guid, i); });
      const uint32_t priority = boundary::call([&] { return provider.get_sort_priority(); });
      string8_impl text;
      uint32_t flags = 0;
      if (!boundary::call([&] { return provider.get_display(i, text, flags); })) continue;
      AddNode(Prototype(priority, WideFromHost(text.get_ptr(), text.get_length()), guid, parent, true, false));
    }
  });
}

MenuTreeNode* MenuTreeModel::AddNode(const MenuTreeNode& values) {
  MenuTreeNode* parent = FindNode(values.parentGuid);
  if (!parent) {
    const auto group = groupTable_.find(values.parentGuid);
    // A group already being added is a cycle in the host's group parentage: its member
    // hangs under the root instead.
    if (group != groupTable_.end() && adding_.insert(group->first).second) {
      parent = AddNode(group->second);
      adding_.erase(group->first);
    } else {
      parent = root_.get();
    }
  }
  auto node = std::make_unique<MenuTreeNode>(Prototype(values.sortPriority, values.name, values.guid, values.parentGuid,
                                                       values.hasOwnItem, values.isContainer));
  MenuTreeNode* added = node.get();
  nodeIndex_.emplace(values.guid, added);  // an entry already there stays
  parent->children.push_back(std::move(node));
  return added;
}

bool MenuTreeModel::ApplyFilter(MenuTreeNode& node, const std::wstring& filter) {
  std::stable_sort(node.children.begin(), node.children.end(),
                   [](const auto& a, const auto& b) { return a->sortPriority < b->sortPriority; });
  std::wstring name = node.name;
  LowerAsciiInPlace(name);
  bool stays = filter.empty();
  std::wstring childFilter = filter;
  if (!stays && name.find(filter) != std::wstring::npos) {
    stays = true;
    childFilter.clear();  // a matching node keeps its whole subtree
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
