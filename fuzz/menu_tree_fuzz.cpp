// Builds the command tree from a host whose groups and commands come from the input: group
// parentage with cycles and self-references, duplicate GUIDs, unknown parents, hidden
// commands, any priorities and a filter. Beyond the sanitizers' checks: the build ends, the
// root stays, and every node the index reaches is in the tree.
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "host/player/service_lookup.h"
#include "preferences/menu_tree_model.h"
#include "simulator/main_menu.h"
#include "simulator/service_registry.h"

namespace {

GUID Id(uint8_t n) { return GUID{0xF0220000u + n % 16, 0, 0, {}}; }

class input_bytes {
 public:
  input_bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ >= size_; }
  uint8_t Next() { return at_ < size_ ? data_[at_++] : 0; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

void Collect(const MenuTreeNode& node, std::set<const MenuTreeNode*>& nodes) {
  nodes.insert(&node);
  for (const auto& child : node.children) Collect(*child, nodes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  input_bytes in(data, size);
  command_log log;
  service_registry api;
  std::wstring filter;
  for (uint8_t length = in.Next() % 4; length > 0; --length) filter.push_back(wchar_t('a' + in.Next() % 4));
  while (!in.empty()) {
    const uint8_t kind = in.Next();
    const uint8_t id = in.Next(), parent = in.Next(), priority = in.Next();
    const GUID parentGuid = parent == 0xFF ? GUID{} : Id(parent);
    const std::string name(1 + in.Next() % 3, char('a' + id % 4));
    if (kind % 2) {
      api.Add(menu_group::class_guid,
              new menu_group_service(Id(id), parentGuid, priority % 3, kind % 4 == 1 ? name : ""));
    } else {
      api.Add(command_provider::class_guid,
              new menu_command_provider(parentGuid, priority % 3, {{Id(id), name, kind % 8 != 0, nullptr}}, log));
    }
  }
  MenuTreeModel model;
  g_host_api = &api;
  model.Build(filter);
  g_host_api = nullptr;
  if (!model.root() || model.FindNode(GUID{}) != model.root()) std::abort();
  std::set<const MenuTreeNode*> nodes;
  Collect(*model.root(), nodes);
  for (uint8_t n = 0; n < 16; ++n) {
    const MenuTreeNode* found = model.FindNode(Id(n));
    if (found && !nodes.count(found)) std::abort();
  }
  return 0;
}
