#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "host/player/player.h"
#include "host/player/service_lookup.h"
#include "labels/labels.h"
#include "preferences/menu_tree_model.h"
#include "simulator/simulated_host.h"

namespace {

GUID Id(uint32_t n) { return GUID{0xC0DE0000u + n, 0, 0, {}}; }

// The tree as its items would show it: one line per item, indented by depth; a group that
// is not a popup has no item, its children stand in its place.
void Dump(const MenuTreeNode& node, int depth, std::string& out) {
  const bool ownItem = !node.isContainer || node.hasOwnItem;
  if (ownItem) {
    out += std::string(size_t(depth) * 2, ' ');
    for (wchar_t c : node.name) out += char(c);
    out += '\n';
  }
  for (const auto& child : node.children) Dump(*child, ownItem ? depth + 1 : depth, out);
}

class MenuTree : public ::testing::Test {
 protected:
  void SetUp() override { g_host_api = &api_; }
  void TearDown() override { g_host_api = nullptr; }
  void Group(uint32_t id, uint32_t parent, uint32_t priority, const char* popupName) {
    api_.Add(menu_group::class_guid, new menu_group_service(Id(id), parent ? Id(parent) : GUID{}, priority, popupName));
  }
  void Provider(uint32_t parent, uint32_t priority, std::vector<menu_command> commands) {
    api_.Add(command_provider::class_guid,
             new menu_command_provider(parent ? Id(parent) : GUID{}, priority, std::move(commands), log_));
  }
  std::string Build(const std::wstring& filter) {
    model_.Build(filter);
    std::string out;
    Dump(*model_.root(), 0, out);
    return out;
  }

  // A small menu: popups File (2) and Playback (1), a section inside Playback, a group
  // without shown commands, and a command whose parent is no group.
  void SetUpMenu() {
    Group(1, 0, 2, "File");
    Group(2, 0, 1, "Playback");
    Group(3, 2, 0, "");  // a section of Playback, not a popup
    Group(4, 2, 5, "Order");
    Group(5, 0, 3, "Hidden stuff");
    Provider(1, 0, {{Id(10), "Open", true, nullptr}, {Id(11), "Exit", true, nullptr}});
    Provider(4, 0, {{Id(20), "Shuffle", true, nullptr}, {Id(21), "Repeat", true, nullptr}});
    Provider(3, 0, {{Id(30), "Play", true, nullptr}, {Id(31), "Stop", true, nullptr}});
    Provider(2, 9, {{Id(40), "Stop after current", true, nullptr}});
    Provider(5, 0, {{Id(50), "Secret", false, nullptr}});
    Provider(99, 7, {{Id(60), "Orphan", true, nullptr}});
  }

  command_log log_;
  service_registry api_;
  MenuTreeModel model_;
};

TEST_F(MenuTree, FullTreeIsSortedNestedAndSkipsSectionsAndEmptyGroups) {
  SetUpMenu();
  EXPECT_EQ(Build(L""),
            "[main]\n"
            "  Playback\n"
            "    Play\n"  // the section's commands, at the section's place
            "    Stop\n"
            "    Order\n"
            "      Shuffle\n"
            "      Repeat\n"
            "    Stop after current\n"
            "  File\n"
            "    Open\n"
            "    Exit\n"
            "  Orphan\n");
  ASSERT_NE(model_.FindNode(Id(30)), nullptr);
  EXPECT_FALSE(model_.FindNode(Id(30))->isContainer);
  EXPECT_TRUE(model_.FindNode(Id(4))->isContainer);
  EXPECT_EQ(model_.FindNode(GUID{}), model_.root());
  EXPECT_EQ(model_.FindNode(Id(5)), nullptr);  // no shown command: never added
  EXPECT_EQ(model_.FindNode(Id(50)), nullptr);
}

TEST_F(MenuTree, FilterKeepsMatchesTheirGroupsAndMatchingGroupsWhole) {
  SetUpMenu();
  EXPECT_EQ(Build(L"stop"), "[main]\n  Playback\n    Stop\n    Stop after current\n");
  EXPECT_EQ(Build(L"order"), "[main]\n  Playback\n    Order\n      Shuffle\n      Repeat\n");
  EXPECT_EQ(Build(L"xyz"), "[main]\n");
  EXPECT_EQ(Build(L"ain"), Build(L""));  // "[main]" itself matches
  EXPECT_EQ(Build(L"hidden"), "[main]\n");
  EXPECT_EQ(Build(L"fileopen"), "[main]\n");    // never a joined path
  EXPECT_EQ(model_.FindNode(Id(20)), nullptr);  // pruned nodes leave the index
}

TEST_F(MenuTree, FilterComparesLowerCasedNamesOnlyForAsciiLetters) {
  Provider(0, 0, {{Id(1), "Play", true, nullptr}, {Id(2), "\xC9tude", true, nullptr}});
  EXPECT_EQ(Build(L"play"), "[main]\n  Play\n");
  EXPECT_EQ(Build(L"\xE9tude"), "[main]\n");  // an accented capital matches only itself
  EXPECT_EQ(Build(L"\xC9tude"), "[main]\n  \xC9tude\n");
}

TEST_F(MenuTree, EqualPrioritiesKeepTheirOrderAndDuplicatesIndexTheFirst) {
  Provider(0, 5, {{Id(1), "b", true, nullptr}, {Id(2), "a", true, nullptr}});
  Provider(0, 1, {{Id(3), "z", true, nullptr}, {Id(1), "duplicate", true, nullptr}});
  EXPECT_EQ(Build(L""), "[main]\n  z\n  duplicate\n  b\n  a\n");
  EXPECT_EQ(model_.FindNode(Id(1))->name, L"b");
}

TEST_F(MenuTree, CyclicGroupParentageEndsUnderTheRoot) {
  Group(1, 2, 0, "A");
  Group(2, 1, 0, "B");
  Group(3, 3, 0, "Self");
  Provider(1, 0, {{Id(10), "in A", true, nullptr}});
  Provider(3, 0, {{Id(30), "in Self", true, nullptr}});
  const std::string tree = Build(L"");
  EXPECT_NE(tree.find("in A"), std::string::npos);
  EXPECT_NE(tree.find("in Self"), std::string::npos);
}

// A provider of one command, "Flaky", whose display query throws while `failing` is set.
class flaky_provider final : public counted_service_t<command_provider> {
 public:
  bool failing = true;
  uint32_t get_command_count() override { return 1; }
  GUID* get_command(GUID* result, uint32_t) override { return &(*result = Id(77)); }
  GUID* get_parent(GUID* result) override { return &(*result = Id(1)); }
  uint32_t get_sort_priority() override { return 0; }
  bool get_display(uint32_t, string_base& out, uint32_t&) override {
    if (failing) throw std::runtime_error("display failed");
    out.set_string("Flaky", 5);
    return true;
  }
  void execute(uint32_t, service_base*) override {}
};

// A popup group whose name query throws while `failing` is set.
class flaky_group final : public counted_service_t<menu_group_popup> {
 public:
  bool failing = true;
  GUID* get_guid(GUID* result) override { return &(*result = Id(1)); }
  GUID* get_parent(GUID* result) override { return &(*result = GUID{}); }
  uint32_t get_sort_priority() override { return 0; }
  void get_display_string(string_base& out) override {
    if (failing) throw std::runtime_error("name failed");
    out.set_string("Group", 5);
  }

 private:
  bool Answers(const GUID& guid) const override {
    return guid == menu_group::class_guid || guid == menu_group_popup::class_guid;
  }
};

TEST_F(MenuTree, HostThatThrowsDuringABuildGetsEveryReferenceBack) {
  auto* group = new flaky_group;
  auto* provider = new flaky_provider;
  api_.Add(menu_group::class_guid, group);
  api_.Add(command_provider::class_guid, provider);
  EXPECT_THROW(model_.Build(L""), player::failure);
  EXPECT_EQ(group->reference_count(), 1);  // the registry's own
  group->failing = false;
  EXPECT_THROW(model_.Build(L""), player::failure);
  EXPECT_EQ(group->reference_count(), 1);
  EXPECT_EQ(provider->reference_count(), 1);
  provider->failing = false;
  EXPECT_EQ(Build(L""), "[main]\n  Group\n    Flaky\n");
  EXPECT_EQ(group->reference_count(), 1);
  EXPECT_EQ(provider->reference_count(), 1);
}

TEST_F(MenuTree, WithoutAPlayerTheLookupFailureLeaves) {
  SetUpMenu();
  g_host_api = nullptr;
  EXPECT_THROW(model_.Build(L""), player::failure);
  EXPECT_THROW(ActionLabel(Id(10)), player::failure);
}

TEST(ActionLabel, HostThatThrowsGetsEveryReferenceBack) {
  simulated_host host;
  g_host_api = &host.api();
  host.api().Remove(command_resolver::class_guid);
  auto* resolver = new command_finder(host.api());
  auto* provider = new flaky_provider;
  host.api().Add(command_resolver::class_guid, resolver);
  host.api().Add(command_provider::class_guid, provider);
  EXPECT_THROW(ActionLabel(Id(77)), player::failure);
  EXPECT_EQ(resolver->reference_count(), 1);
  EXPECT_EQ(provider->reference_count(), 1);
  provider->failing = false;
  EXPECT_EQ(ActionLabel(Id(77)), L"Flaky");
  EXPECT_EQ(provider->reference_count(), 1);
  g_host_api = nullptr;
}

TEST(ActionLabel, NamesCommandsAndFallsBack) {
  simulated_host host;
  g_host_api = &host.api();
  EXPECT_EQ(ActionLabel(GUID{0x90500F09, 0xF16F, 0x415E, {0xA0, 0x47, 0xAC, 0x50, 0x45, 0xC9, 0x5F, 0xFE}}),
            L"Play or pause");
  EXPECT_EQ(ActionLabel(GUID{}), L"<not set>");
  EXPECT_EQ(ActionLabel(GUID{1, 2, 3, {}}), L"<unknown>");
  host.api().Add(
      command_provider::class_guid,
      new menu_command_provider(
          GUID{}, 0, {{GUID{}, "Null command", true, nullptr}, {GUID{7, 0, 0, {}}, "Declined", false, nullptr}},
          host.executed()));
  EXPECT_EQ(ActionLabel(GUID{}), L"Null command");  // the resolver is asked first
  EXPECT_EQ(ActionLabel(GUID{7, 0, 0, {}}), L"<unknown>");
  g_host_api = nullptr;
}

}  // namespace
