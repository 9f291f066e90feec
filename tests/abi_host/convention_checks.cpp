// Calls that depend on the player compiler's conventions: GUID results through a hidden
// pointer with `this` in the object register, floating-point results, text through the host's string object.
#include "host.h"

namespace {

constexpr GUID PageId = {0x54E8BF02, 0xA260, 0x4A38, {0x9D, 0xA0, 0xD7, 0xA3, 0xC1, 0x69, 0x54, 0x13}};
constexpr GUID ParentPageId = {0x6AAA67B6, 0x732F, 0x4967, {0x89, 0x9A, 0x18, 0xC5, 0xF8, 0xC7, 0x00, 0x17}};

void CheckText(componentversion& version, void (componentversion::*get)(string_base&), const char* expected,
               const char* name) {
  host_string text;
  text.set_string("previous", 8);
  (version.*get)(text);
  check(strcmp(text.get_ptr(), expected) == 0 && text.get_length() == strlen(expected), name, "\"%s\"", text.get_ptr());
}

// A GUID slot called the way the player's compiler calls it: `this` in ECX, the result's
// address on the stack, popped by the callee and handed back in EAX; on x64 `this` in RCX, the
// result's address in RDX, handed back in RAX. Called on a copy of the service object, which a
// callee taking its result's address from the object register (as GCC's convention has it)
// writes over instead of the service; answers whether the copy stayed intact.
bool CheckGuidSlot(preferences_page_v3* page, unsigned slot, const GUID& expected, const char* name) {
  uintptr_t copy[sizeof(GUID) / sizeof(uintptr_t)];
  memcpy(copy, static_cast<const void*>(page), sizeof copy);
  GUID result{};
  uintptr_t returned = 0;
  const uintptr_t resultAddress = reinterpret_cast<uintptr_t>(&result);
  const int left = CallMember(copy, slot, &resultAddress, 1, &returned);
  const bool intact = memcmp(copy, static_cast<const void*>(page), sizeof copy) == 0;
  char text[40];
  FormatGuid(result, text);
  check(result == expected && left == 0 && returned == resultAddress && intact, name,
        "result %s; %d bytes left on the stack; " RESULT_REGISTER " %s the result's address; %s", text, left,
        returned == resultAddress ? "is" : "is not",
        intact ? "the object is intact" : "the GUID was written over the object in " OBJECT_REGISTER);
  return intact;
}

// The items of a tree control, depth first: "name(child,child)".
void DumpTree(HWND tree, void* item, char*& out, const char* end) {
  for (bool first = true; item;
       item = reinterpret_cast<void*>(SendMessageW(tree, TreeNextItem, TreeNext, LPARAM(item)))) {
    if (!first && out < end) *out++ = ',';
    first = false;
    wchar_t text[128] = L"";
    TVITEMW query{};
    query.mask = TreeItemText | TreeItemHandle;
    query.hItem = item;
    query.pszText = text;
    query.cchTextMax = 128;
    SendMessageW(tree, TreeGetItem, 0, LPARAM(&query));
    for (const wchar_t* c = text; *c && out < end; ++c) *out++ = char(*c);
    void* child = reinterpret_cast<void*>(SendMessageW(tree, TreeNextItem, TreeChild, LPARAM(item)));
    if (child) {
      if (out < end) *out++ = '(';
      DumpTree(tree, child, out, end);
      if (out < end) *out++ = ')';
    }
  }
  *out = 0;
}

}  // namespace

void RunConventionChecks(player_host& host, component& loaded) {
  componentversion& version = *loaded.version;
  CheckText(version, &componentversion::get_file_name, "", "the file name is empty before the host names it");
  loaded.client->set_texts("quorbel", "moxel_control.dll");
  CheckText(version, &componentversion::get_file_name, "moxel_control.dll", "the file name is the one the host gave");
  CheckText(version, &componentversion::get_component_name, "moxel control", "the component name");
  CheckText(version, &componentversion::get_component_version, "0.3", "the component version");
  CheckText(version, &componentversion::get_about_message, "moxel control plugin by kestrin", "the about text");

  preferences_page_v3* page = loaded.page;
  const bool guidIntact =
      CheckGuidSlot(page, 5, PageId, "get_guid called with the result's address " RESULT_ADDRESS_PLACE);
  const bool parentIntact =
      CheckGuidSlot(page, 6, ParentPageId, "get_parent_guid called with the result's address " RESULT_ADDRESS_PLACE);
  if (guidIntact && parentIntact) {
    const void* const table = *reinterpret_cast<void* const*>(page);
    const GUID guid = page->get_guid();
    const GUID parent = page->get_parent_guid();
    check(guid == PageId && parent == ParentPageId && *reinterpret_cast<void* const*>(page) == table &&
              strcmp(page->get_name(), "moxel control") == 0,
          "get_guid and get_parent_guid called natively give the page's GUIDs; get_name works after");
  } else {
    note("get_guid and get_parent_guid are not called on the service itself, which they would overwrite");
  }

  double priority = 1.0;
  for (int i = 0; i < 16; ++i) priority = page->get_sort_priority();  // a leaked x87 value would show in 8
  volatile double third = 1.0;
  third = third / 3.0;
  check(priority == 0.0 && third * 3.0 == 1.0,
        "get_sort_priority answers 0.0 in " FLOAT_RESULT_REGISTER " and keeps the x87 stack");

  host_string address;
  address.set_string("previous", 8);
  const bool answered = page->get_help_url(address);
  check(answered &&
            EndsWith(address.get_ptr(), "/abi-host/preferences/54E8BF02-A260-4A38-9DA0-D7A3C1695413/moxel control") &&
            strncmp(address.get_ptr(), "previous", 8) != 0,
        "the help address is built in the host's string", "\"%s\"", address.get_ptr());

  service_base* other = &host.information;
  check(page->service_query(other, preferences_page_v2::class_guid) && other == page,
        "the page service answers the preferences_page_v2 query with itself");
  other = &host.information;
  const int references = host.information.references;
  check(!page->service_query(other, componentversion::class_guid) && other == &host.information &&
            host.information.references == references,
        "a query for another class fails and leaves the out reference alone");

  // The command tree reads the host's GUID results: each command's group, and the group's own.
  note("instantiating the page, whose command tree calls the host's GUID slots");
  preferences_page_instance* instance = nullptr;
  try {
    instance = page->instantiate(host.window, &host.page_callback);
  } catch (const std::exception& error) {
    note("instantiate failed: %s", error.what());
  } catch (...) {
  }
  if (!check(instance != nullptr, "the page is instantiated")) {
    check(g_misdirected_guid_calls == 0,
          "the component calls the host's GUID slots with the object in " OBJECT_REGISTER,
          "%d calls with the result's address in " OBJECT_REGISTER, g_misdirected_guid_calls);
    return;
  }
  char tree[200];
  char* out = tree;
  const HWND commands = GetDlgItem(instance->get_wnd(), 1008);
  DumpTree(commands, reinterpret_cast<void*>(SendMessageW(commands, TreeNextItem, TreeRoot, 0)), out,
           tree + sizeof tree - 1);
  check(g_misdirected_guid_calls == 0, "the component calls the host's GUID slots with the object in " OBJECT_REGISTER,
        "%d calls with the result's address in " OBJECT_REGISTER, g_misdirected_guid_calls);
  // The section's commands stand in the popup at the section's place (priority 3 before 5).
  check(strcmp(tree, "[main](Playback(Shuffle,Repeat,Play,Throwing))") == 0,
        "the command tree nests the host's commands in the host's popup and section", "%s", tree);
  instance->service_release();
  check(host.commands.references == 1 && host.order_commands.references == 1 && host.group.references == 1 &&
            host.section.references == 1 && host.page_callback.references == 1,
        "the page gives every reference back", "commands %d and %d, groups %d and %d, callback %d",
        host.commands.references, host.order_commands.references, host.group.references, host.section.references,
        host.page_callback.references);
}
