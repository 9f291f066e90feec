// One keystroke in the page's filter (the tree rebuilt from a host of 5,000 commands in 300
// groups, and shown) against inserting the same items into a bare tree view, in the same run,
// the two taking turns.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"
#include "host/player/interfaces/component_services.h"
#include "resources/resource.h"
#include "simulator/control_text.h"
#include "simulator/input.h"
#include "simulator/player_session.h"

namespace {

constexpr int Groups = 300;
constexpr int Commands = 5000;

GUID Id(uint32_t n) { return GUID{0xBE7C0000u + n, 1, 2, {3}}; }

// Replaces the host's menu with 300 popup groups (twenty of them top-level, the rest nested
// one level down) holding 5,000 commands.
void InstallLargeMenu(simulated_host& host) {
  service_registry& api = host.api();
  api.Remove(menu_group::class_guid);
  api.Remove(command_provider::class_guid);
  for (int g = 0; g < Groups; ++g) {
    const GUID parent = g < 20 ? GUID{} : Id(uint32_t(g % 20));
    api.Add(menu_group::class_guid,
            new menu_group_service(Id(uint32_t(g)), parent, uint32_t(g % 7), "Group " + std::to_string(g)));
  }
  for (int g = 0; g < Groups; ++g) {
    std::vector<menu_command> commands;
    for (int c = g; c < Commands; c += Groups)
      commands.push_back({Id(uint32_t(10000 + c)), "Command " + std::to_string(c), true, nullptr});
    api.Add(command_provider::class_guid,
            new menu_command_provider(Id(uint32_t(g)), uint32_t(g % 5), std::move(commands), host.executed()));
  }
}

// The items of a tree view with their nesting: text, then the children.
struct item_shape {
  std::wstring text;
  std::vector<item_shape> children;
};

item_shape Shape(HWND tree, HTREEITEM item) {
  item_shape shape{TreeItemText(tree, item), {}};
  for (auto child = HTREEITEM(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, LPARAM(item))); child;
       child = HTREEITEM(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, LPARAM(child))))
    shape.children.push_back(Shape(tree, child));
  return shape;
}

size_t Insert(HWND tree, HTREEITEM parent, const item_shape& shape) {
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT;
  insert.item.pszText = const_cast<wchar_t*>(shape.text.c_str());
  const auto item = HTREEITEM(SendMessageW(tree, TVM_INSERTITEMW, 0, LPARAM(&insert)));
  size_t count = 1;
  for (const item_shape& child : shape.children) count += Insert(tree, item, child);
  if (!shape.children.empty()) SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, LPARAM(item));
  return count;
}

}  // namespace

int main() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  player_session session(BinFolder() + L"\\moxel_control.dll", std::wstring(temp) + L"moxel_tree_bench");
  session.LoadConfiguration();
  InstallLargeMenu(session.host);

  const HWND frame = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 700, nullptr,
                                     nullptr, nullptr, nullptr);
  service_registry& api = session.host.api();
  service_base* service = nullptr;
  api.create_instance(service, api.find_class(preferences_page::class_guid), 0);
  service_base* v3 = nullptr;
  service->service_query(v3, preferences_page_v3::class_guid);
  preferences_page_instance* page = static_cast<preferences_page_v3*>(v3)->instantiate(frame, nullptr);
  ShowWindow(page->get_wnd(), SW_SHOW);
  const HWND filter = GetDlgItem(page->get_wnd(), IDC_FILTER);
  const HWND tree = GetDlgItem(page->get_wnd(), IDC_COMMANDS);
  input::Pump(200);

  // Every command's name holds "c", so each keystroke keeps the whole tree.
  const wchar_t* keystrokes[] = {L"c", L"co", L"com", L"co"};
  SetWindowTextW(filter, keystrokes[0]);
  const item_shape shape = Shape(tree, HTREEITEM(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)));

  RECT place;
  GetWindowRect(tree, &place);
  MapWindowPoints(nullptr, page->get_wnd(), reinterpret_cast<POINT*>(&place), 2);
  const HWND bare = CreateWindowExW(
      0, WC_TREEVIEWW, L"",
      WS_CHILD | WS_BORDER | WS_HSCROLL | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
      place.left, place.top, place.right - place.left, place.bottom - place.top, page->get_wnd(), nullptr, nullptr,
      nullptr);
  // They take turns, each shown and painted in its place before its turn, so that a load that
  // comes and goes on the machine meets them alike. The bare tree view is filled as it is, and
  // also as the page fills its own: redrawing off while the items go in, then the whole tree.
  const auto turn = [](HWND shown, HWND hidden) {
    ShowWindow(hidden, SW_HIDE);
    ShowWindow(shown, SW_SHOW);
    UpdateWindow(shown);
  };
  const auto insertBare = [&](bool redrawSuspended) {
    if (redrawSuspended) SendMessageW(bare, WM_SETREDRAW, FALSE, 0);
    SendMessageW(bare, TVM_DELETEITEM, 0, LPARAM(TVI_ROOT));
    const size_t inserted = Insert(bare, TVI_ROOT, shape);
    if (redrawSuspended) {
      SendMessageW(bare, WM_SETREDRAW, TRUE, 0);
      InvalidateRect(bare, nullptr, TRUE);
    }
    UpdateWindow(bare);
    return inserted;
  };
  constexpr int Rounds = 8;
  double fastest[3] = {1e30, 1e30, 1e30};  // the page's keystroke, the bare insert, the same redrawn once
  std::vector<double> ratios[2];
  size_t items = 0;
  for (int round = 0; round < Rounds; ++round) {
    double took[3];
    turn(tree, bare);
    double start = Seconds();
    SetWindowTextW(filter, keystrokes[(round + 1) % 4]);
    UpdateWindow(tree);
    took[0] = Seconds() - start;
    turn(bare, tree);
    for (int redrawnOnce = 0; redrawnOnce < 2; ++redrawnOnce) {
      start = Seconds();
      items = insertBare(redrawnOnce);
      took[1 + redrawnOnce] = Seconds() - start;
    }
    for (int i = 0; i < 3; ++i) fastest[i] = std::min(fastest[i], took[i]);
    for (int i = 0; i < 2; ++i) ratios[i].push_back(took[0] / took[1 + i]);
  }
  std::printf("filter keystroke, %d commands in %d groups (%zu items), %d rounds each, the fastest of each:\n",
              Commands, Groups, items, Rounds);
  std::printf("  page %.1f ms, bare tree view insert %.1f ms, ratio %.3f; median of the rounds' ratios %.3f\n",
              fastest[0] * 1e3, fastest[1] * 1e3, fastest[0] / fastest[1], Median(ratios[0]));
  std::printf(
      "  page %.1f ms, bare tree view insert, redrawn once %.1f ms, ratio %.3f; median of the rounds' ratios "
      "%.3f\n",
      fastest[0] * 1e3, fastest[2] * 1e3, fastest[0] / fastest[2], Median(ratios[1]));
  DestroyWindow(bare);
  page->service_release();
  v3->service_release();
  service->service_release();
  DestroyWindow(frame);
  return 0;
}
