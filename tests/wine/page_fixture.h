// The component's preferences page open in the simulated player's preferences window,
// read back and driven through its real controls.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "resources/resource.h"
#include "simulator/control_text.h"
#include "simulator/preferences_window.h"
#include "tests/wine/moxel_fixture.h"

constexpr GUID MoxelPage = {0x54E8BF02, 0xA260, 0x4A38, {0x9D, 0xA0, 0xD7, 0xA3, 0xC1, 0x69, 0x54, 0x13}};
constexpr GUID Random = {0x8DEBC44E, 0xEDA2, 0x48D4, {0x86, 0x96, 0x31, 0xFC, 0x29, 0xD1, 0xF3, 0x83}};

// Three stored bindings and a sensitivity.
inline std::vector<uint8_t> ThreeBindings(uint32_t sensitivity = 200) {
  return ConfigurationWith({{LeftClick, ModifierCtrl, PlayOrPause},
                            {RightClick, 0, Next},
                            {MiddleClick, ModifierAlt | ModifierShift, Random}}) +
         Entry(SensitivityId, Le32(sensitivity));
}

class PageTest : public MoxelTest {
 protected:
  void TearDown() override {
    ClosePreferences();
    MoxelTest::TearDown();
  }

  // Starts the player with `configuration` and opens the component's page.
  void Open(const std::vector<uint8_t>& configuration) {
    Start(configuration);
    OpenPreferences();
  }
  void OpenPreferences() {
    preferences_ = std::make_unique<preferences_window>(session_->host);
    SetForegroundWindow(preferences_->window());
    ASSERT_TRUE(preferences_->ShowPage(MoxelPage));
    page_ = preferences_->page_window();
    ASSERT_NE(page_, nullptr);
  }
  void ClosePreferences() { preferences_.reset(); }

  HWND Item(int id) const { return GetDlgItem(page_, id); }
  LRESULT Send(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendMessageW(Item(id), message, wParam, lParam);
  }
  uint32_t State() const { return preferences_->page()->get_state(); }

  int RowCount() const { return int(Send(IDC_BINDINGS, LVM_GETITEMCOUNT)); }
  int SelectedRow() const { return int(Send(IDC_BINDINGS, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)); }
  // The three cell texts of `row`, as the list view gets them from the page.
  std::vector<std::wstring> Row(int row) const {
    std::vector<std::wstring> cells;
    for (int column = 0; column < 3; ++column) {
      wchar_t text[256] = L"";
      LVITEMW item{};
      item.iSubItem = column;
      item.pszText = text;
      item.cchTextMax = 256;
      Send(IDC_BINDINGS, LVM_GETITEMTEXTW, WPARAM(row), LPARAM(&item));
      cells.push_back(text);
    }
    return cells;
  }
  // Selects `row` as a click on it would; -1 clears the selection.
  void SelectRow(int row) const {
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = row < 0 ? 0 : state.stateMask;
    Send(IDC_BINDINGS, LVM_SETITEMSTATE, WPARAM(row), LPARAM(&state));
  }
  // Chooses entry `index` of the key box, as the user's choice in its drop-down would.
  void ChooseKey(int index) const {
    Send(IDC_KEY, CB_SETCURSEL, WPARAM(index));
    SendMessageW(page_, WM_COMMAND, MAKEWPARAM(IDC_KEY, CBN_SELCHANGE), LPARAM(Item(IDC_KEY)));
  }
  void Click(int id) const { Send(id, BM_CLICK); }
  void SetFilter(const wchar_t* text) const { SetWindowTextW(Item(IDC_FILTER), text); }
  bool EditorsEnabled() const {
    int enabled = 0;
    for (int id : {IDC_FILTER_LABEL, IDC_FILTER, IDC_COMMANDS, IDC_KEY, IDC_CTRL, IDC_ALT, IDC_SHIFT})
      enabled += IsWindowEnabled(Item(id)) ? 1 : 0;
    EXPECT_TRUE(enabled == 0 || enabled == 7) << enabled << " editors enabled";
    return enabled == 7;
  }

  std::wstring TreeText(HTREEITEM item) const { return TreeItemText(Item(IDC_COMMANDS), item); }
  // Every item of the tree, depth first, indented two spaces a level.
  std::wstring Tree() const {
    std::wstring out;
    Walk(HTREEITEM(Send(IDC_COMMANDS, TVM_GETNEXTITEM, TVGN_ROOT, 0)), 0, out);
    return out;
  }
  void Walk(HTREEITEM item, int depth, std::wstring& out) const {
    for (; item; item = HTREEITEM(Send(IDC_COMMANDS, TVM_GETNEXTITEM, TVGN_NEXT, LPARAM(item)))) {
      out += std::wstring(size_t(depth) * 2, L' ') + TreeText(item) + L"\n";
      Walk(HTREEITEM(Send(IDC_COMMANDS, TVM_GETNEXTITEM, TVGN_CHILD, LPARAM(item))), depth + 1, out);
    }
  }
  HTREEITEM TreeCaret() const { return HTREEITEM(Send(IDC_COMMANDS, TVM_GETNEXTITEM, TVGN_CARET, 0)); }
  // The first item reading `text`, depth first, or null.
  HTREEITEM FindTreeItem(const std::wstring& text) const {
    return FindTreeItemFrom(text, HTREEITEM(Send(IDC_COMMANDS, TVM_GETNEXTITEM, TVGN_ROOT, 0)));
  }
  HTREEITEM FindTreeItemFrom(const std::wstring& text, HTREEITEM item) const {
    for (; item; item = HTREEITEM(Send(IDC_COMMANDS, TVM_GETNEXTITEM, TVGN_NEXT, LPARAM(item)))) {
      if (TreeText(item) == text) return item;
      const HTREEITEM child = HTREEITEM(Send(IDC_COMMANDS, TVM_GETNEXTITEM, TVGN_CHILD, LPARAM(item)));
      if (HTREEITEM found = FindTreeItemFrom(text, child)) return found;
    }
    return nullptr;
  }
  // Clicks the tree item with the mouse, as the user chooses a command.
  void ClickTreeItem(HTREEITEM item) const {
    Send(IDC_COMMANDS, TVM_ENSUREVISIBLE, 0, LPARAM(item));
    union {
      RECT rect;
      HTREEITEM item;  // the message takes the item in the rectangle's place
    } request{};
    request.item = item;
    Send(IDC_COMMANDS, TVM_GETITEMRECT, TRUE, LPARAM(&request.rect));
    const RECT rect = request.rect;
    POINT point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(Item(IDC_COMMANDS), &point);
    // A second click soon after the first would be a double click.
    EXPECT_TRUE(input::PumpUntil([&] { return GetTickCount() - lastClick_ > GetDoubleClickTime() + 50; }));
    input::MoveTo(point.x, point.y);
    input::Click(input::Button::Left);
    lastClick_ = GetTickCount();
    EXPECT_TRUE(input::PumpUntilInputHandled());
  }

  // What the component would store now.
  std::vector<uint8_t> Stored() {
    memory_writer out;
    abort_flag abort;
    session_->component.client().config_write(&out, &abort);
    return out.bytes();
  }

  std::unique_ptr<preferences_window> preferences_;
  HWND page_ = nullptr;
  mutable DWORD lastClick_ = 0;
};
