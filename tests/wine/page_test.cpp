// The preferences page through its real controls: what it shows, its edits, the state it
// reports, apply and reset, and the command tree under filters.
#include "tests/wine/page_fixture.h"

#include "simulator/stored_config.h"

namespace {

constexpr GUID Sensitivity = {0x46BDBF9D, 0x9A8C, 0x48CB, {0xA5, 0xA1, 0xBC, 0x84, 0x26, 0x5C, 0xC9, 0xCD}};

using Cells = std::vector<std::wstring>;

TEST_F(PageTest, FreshPageShowsTheStoredValuesWithEditorsDisabled) {
  Open(ThreeBindings());
  ASSERT_EQ(RowCount(), 3);
  EXPECT_EQ(Row(0), (Cells{L"Left click", L"Ctrl", L"Play or pause"}));
  EXPECT_EQ(Row(2), (Cells{L"Middle click", L"Alt + Shift", L"Random"}));
  EXPECT_EQ(SelectedRow(), -1);
  EXPECT_FALSE(EditorsEnabled());
  EXPECT_EQ(GetWindowTextLengthW(Item(IDC_FILTER)), 0);
  EXPECT_EQ(Tree().substr(0, 14), L"[main]\n  File\n");
  EXPECT_NE(Tree().find(L"      Shuffle (tracks)\n"), std::wstring::npos);
  EXPECT_EQ(Send(IDC_SENSITIVITY, TBM_GETPOS), 200);
  EXPECT_EQ(Send(IDC_KEY, CB_GETCOUNT), 7);
  EXPECT_EQ(State(), 8u);
  EXPECT_FALSE(IsWindowEnabled(preferences_->button(preferences_window::ApplyButton)));
}

TEST_F(PageTest, SensitivityAboveTheRangeShowsAsChangedUntilApplied) {
  // The stored value is unsigned: from 0x80000000 on it must not reach the trackbar negative.
  for (uint32_t stored : {500u, 0x80000000u, 0xFFFFFFFFu}) {
    Open(ThreeBindings(stored));
    EXPECT_EQ(Send(IDC_SENSITIVITY, TBM_GETPOS), 400) << stored;
    EXPECT_EQ(State(), 9u) << stored;
    Click(preferences_window::ApplyButton);  // not the page's: the window's button
    preferences_->page()->apply();
    EXPECT_EQ(State(), 8u) << stored;
    EXPECT_EQ(StoredValue(Stored(), Sensitivity, 0), 400u) << stored;
    ClosePreferences();
    Stop();
  }
}

TEST_F(PageTest, AddNewAppendsAnUnsetBindingAndSelectsIt) {
  Open(ThreeBindings());
  SetFilter(L"stop");
  const int changes = preferences_->state_changes();
  Click(IDC_ADD);
  ASSERT_EQ(RowCount(), 4);
  EXPECT_EQ(Row(3), (Cells{L"<not set>", L"", L"<not set>"}));
  EXPECT_EQ(SelectedRow(), 3);
  EXPECT_TRUE(EditorsEnabled());
  EXPECT_EQ(Send(IDC_KEY, CB_GETCURSEL), -1);
  EXPECT_EQ(Send(IDC_CTRL, BM_GETCHECK), BST_UNCHECKED);
  EXPECT_EQ(GetWindowTextLengthW(Item(IDC_FILTER)), 0);  // the root is a container: full tree
  EXPECT_NE(Tree().find(L"Shuffle"), std::wstring::npos);
  EXPECT_EQ(TreeCaret(), nullptr);
  EXPECT_EQ(State(), 9u);
  EXPECT_GT(preferences_->state_changes(), changes);
  EXPECT_TRUE(IsWindowEnabled(preferences_->button(preferences_window::ApplyButton)));
}

TEST_F(PageTest, RemoveSelectsTheFollowingOrTheNewLastRow) {
  Open(ThreeBindings());
  SelectRow(1);
  Click(IDC_REMOVE);
  ASSERT_EQ(RowCount(), 2);
  EXPECT_EQ(SelectedRow(), 1);  // the row that moved into its place
  EXPECT_EQ(Row(1)[0], L"Middle click");
  EXPECT_EQ(Send(IDC_KEY, CB_GETCURSEL), MiddleClick - 1);
  Click(IDC_REMOVE);
  ASSERT_EQ(RowCount(), 1);
  EXPECT_EQ(SelectedRow(), 0);  // the new last row
  EXPECT_EQ(Row(0)[0], L"Left click");
  Click(IDC_REMOVE);
  EXPECT_EQ(RowCount(), 0);
  EXPECT_EQ(SelectedRow(), -1);
  EXPECT_FALSE(EditorsEnabled());
  Click(IDC_REMOVE);  // nothing selected: nothing happens
  EXPECT_EQ(RowCount(), 0);
  EXPECT_TRUE(StoredBindings(Stored()).size() == 3);  // nothing stored before apply
}

TEST_F(PageTest, EditsWithoutASelectedRowChangeNothing) {
  Open(ThreeBindings());
  SelectRow(0);
  SelectRow(-1);  // a click on the empty area: the editors stay enabled
  EXPECT_TRUE(EditorsEnabled());
  Click(IDC_SHIFT);
  ChooseKey(5);
  ClickTreeItem(FindTreeItem(L"Stop"));
  Click(IDC_REMOVE);
  EXPECT_EQ(Row(0), (Cells{L"Left click", L"Ctrl", L"Play or pause"}));
  EXPECT_EQ(RowCount(), 3);
  EXPECT_EQ(State(), 8u);
}

TEST_F(PageTest, KeyModifierAndCommandChoicesEditTheSelectedRowAndCountByValue) {
  Open(ThreeBindings());
  SelectRow(1);
  EXPECT_EQ(TreeText(TreeCaret()), L"Next");                 // the row's command, selected by the page
  EXPECT_EQ(Row(1), (Cells{L"Right click", L"", L"Next"}));  // that selection wrote nothing
  ChooseKey(LeftFlip - 1);
  Click(IDC_CTRL);
  Click(IDC_ALT);
  ClickTreeItem(FindTreeItem(L"Stop"));
  EXPECT_EQ(Row(1), (Cells{L"Left flip", L"Ctrl + Alt", L"Stop"}));
  EXPECT_EQ(State(), 9u);
  ClickTreeItem(FindTreeItem(L"Playback"));  // a group is never a command
  ClickTreeItem(FindTreeItem(L"[main]"));
  EXPECT_EQ(Row(1)[2], L"Stop");

  ChooseKey(RightClick - 1);
  Click(IDC_CTRL);
  Click(IDC_ALT);
  ClickTreeItem(FindTreeItem(L"Next"));
  EXPECT_EQ(Row(1), (Cells{L"Right click", L"", L"Next"}));
  EXPECT_EQ(State(), 8u);  // changed and changed back

  // The same bindings in another order are a change.
  SelectRow(0);
  ChooseKey(RightClick - 1);
  Click(IDC_CTRL);
  ClickTreeItem(FindTreeItem(L"Next"));
  SelectRow(1);
  ChooseKey(LeftClick - 1);
  Click(IDC_CTRL);
  ClickTreeItem(FindTreeItem(L"Play or pause"));
  EXPECT_EQ(Row(0), (Cells{L"Right click", L"", L"Next"}));
  EXPECT_EQ(Row(1), (Cells{L"Left click", L"Ctrl", L"Play or pause"}));
  EXPECT_EQ(State(), 9u);
}

TEST_F(PageTest, ApplyStoresTheWorkingCopyAndResetRestoresTheDefaults) {
  Open(ThreeBindings());
  SelectRow(2);
  Click(IDC_SHIFT);
  Send(IDC_SENSITIVITY, TBM_SETPOS, TRUE, 300);
  SendMessageW(page_, WM_HSCROLL, TB_ENDTRACK, LPARAM(Item(IDC_SENSITIVITY)));
  EXPECT_EQ(State(), 9u);
  Click(preferences_window::ApplyButton);
  SendMessageW(preferences_->window(), WM_COMMAND, MAKEWPARAM(preferences_window::ApplyButton, BN_CLICKED),
               LPARAM(preferences_->button(preferences_window::ApplyButton)));
  EXPECT_EQ(State(), 8u);
  std::vector<uint8_t> stored = Stored();
  ASSERT_EQ(StoredBindings(stored).size(), 3u);
  EXPECT_EQ(StoredBindings(stored)[2].modifiers, uint32_t(ModifierAlt));
  EXPECT_EQ(StoredValue(stored, Sensitivity, 0), 300u);

  preferences_->page()->reset();
  ASSERT_EQ(RowCount(), 9);
  EXPECT_EQ(Row(5), (Cells{L"XButton1 click", L"", L"Previous"}));
  EXPECT_EQ(Send(IDC_SENSITIVITY, TBM_GETPOS), 128);
  EXPECT_EQ(SelectedRow(), -1);
  EXPECT_FALSE(EditorsEnabled());
  EXPECT_EQ(State(), 9u);
  EXPECT_EQ(StoredBindings(Stored()).size(), 3u);  // reset touches only the working copy
  ClosePreferences();
  EXPECT_EQ(StoredBindings(Stored()).size(), 3u);  // closing without apply stores nothing
}

TEST_F(PageTest, FilterNarrowsTheTreeAndSelectionBringsHiddenCommandsBack) {
  Open(ThreeBindings());
  SetFilter(L"PLAY");
  const std::wstring tree = Tree();
  EXPECT_NE(tree.find(L"Play or pause"), std::wstring::npos);
  EXPECT_NE(tree.find(L"Playlist manager"), std::wstring::npos);
  EXPECT_NE(tree.find(L"Stop\n"), std::wstring::npos);  // "Playback" matches: its whole group stays
  EXPECT_EQ(tree.find(L"Exit"), std::wstring::npos);
  SetFilter(L"nothing matches this");
  EXPECT_EQ(Tree(), L"[main]\n");
  SetFilter(L"visualizations");
  EXPECT_NE(Tree().find(L"Oscilloscope"), std::wstring::npos);  // a matching popup keeps its commands

  SelectRow(1);  // its command "Next" is filtered out
  EXPECT_EQ(GetWindowTextLengthW(Item(IDC_FILTER)), 0);
  EXPECT_EQ(TreeText(TreeCaret()), L"Next");
}

TEST_F(PageTest, RowsWithoutATreeCommandClearTheFilterAndSelectNothing) {
  const GUID group = {0x5EED0004, 0x51A7, 0x4D0C, {0x9E, 0x11, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}};  // Playback
  Open(ConfigurationWith({{LeftClick, 0, group}, {RightClick, 0, GUID{1, 2, 3, {}}}, {MiddleClick, 0, GUID{}}}));
  EXPECT_EQ(Row(0)[2], L"<unknown>");
  EXPECT_EQ(Row(1)[2], L"<unknown>");
  EXPECT_EQ(Row(2)[2], L"<not set>");
  for (int row = 0; row < 3; ++row) {
    SetFilter(L"stop");
    SelectRow(row);
    EXPECT_EQ(GetWindowTextLengthW(Item(IDC_FILTER)), 0) << row;
    EXPECT_EQ(TreeCaret(), nullptr) << row;
    EXPECT_NE(Tree().find(L"Shuffle"), std::wstring::npos) << row;
  }
}

TEST_F(PageTest, EndToEndBindingMadeOnThePageRunsFromTheMoxelAfterARestart) {
  Open({});  // first start: the nine defaults
  EXPECT_EQ(RowCount(), 9);
  Click(IDC_ADD);
  ChooseKey(MiddleClick - 1);
  Click(IDC_CTRL);
  SetFilter(L"volume down");
  ClickTreeItem(FindTreeItem(L"Volume down"));
  EXPECT_EQ(Row(9), (Cells{L"Middle click", L"Ctrl", L"Volume down"}));
  SendMessageW(preferences_->window(), WM_COMMAND, MAKEWPARAM(preferences_window::OkButton, BN_CLICKED),
               LPARAM(preferences_->button(preferences_window::OkButton)));
  EXPECT_TRUE(preferences_->closed());
  Stop();

  Start();  // the stored configuration of the first run
  PointAtMoxel();
  input::KeyDown(VK_CONTROL);
  input::Click(input::Button::Middle);
  ASSERT_TRUE(input::PumpUntilInputHandled());
  input::KeyUp(VK_CONTROL);
  ASSERT_TRUE(input::PumpUntilInputHandled());
  EXPECT_EQ(Executed(), (command_log{"Volume down"}));
  EXPECT_EQ(Playback().get_volume(), simulated_host::InitialVolumeDb - 1.0f);
}

}  // namespace

namespace {

constexpr GUID Corner = {0x12256272, 0x3778, 0x4E9B, {0x83, 0xBE, 0xD0, 0x51, 0x47, 0x04, 0x7E, 0xEC}};
constexpr GUID Screen = {0x3FF1550A, 0x74EE, 0x4EE3, {0xBA, 0xAB, 0x1A, 0xBC, 0x21, 0x8E, 0x4F, 0xCB}};
constexpr GUID HideForFullscreen = {0x4E6F921F, 0xDF3A, 0x4D50, {0xB2, 0xF5, 0xAF, 0x38, 0xBF, 0xCC, 0x39, 0xEC}};

TEST_F(PageTest, PositionIsChosenAppliedAtOnceAndReset) {
  // A corner and a screen no version has show as the defaults.
  Open(ThreeBindings() + Entry(CornerId, Le32(9)) + Entry(ScreenId, Le32(5)));
  const HWND corner = Item(IDC_CORNER), screen = Item(IDC_SCREEN), hide = Item(IDC_HIDE_FOR_FULLSCREEN);
  ASSERT_NE(corner, nullptr);
  ASSERT_NE(screen, nullptr);
  ASSERT_NE(hide, nullptr);
  // The section's caption, then each box after its label, in tab order.
  EXPECT_EQ(GetWindow(Item(IDC_CAPTION_POSITION), GW_HWNDPREV), Item(IDC_SENSITIVITY));
  EXPECT_EQ(GetWindow(corner, GW_HWNDPREV), GetWindow(Item(IDC_CAPTION_POSITION), GW_HWNDNEXT));
  EXPECT_EQ(GetWindow(screen, GW_HWNDPREV), GetWindow(corner, GW_HWNDNEXT));
  wchar_t entry[32] = L"";
  ASSERT_EQ(Send(IDC_CORNER, CB_GETCOUNT), 4);
  Send(IDC_CORNER, CB_GETLBTEXT, 3, LPARAM(entry));
  EXPECT_STREQ(entry, L"Bottom right");
  ASSERT_EQ(Send(IDC_SCREEN, CB_GETCOUNT), 2);
  Send(IDC_SCREEN, CB_GETLBTEXT, 0, LPARAM(entry));
  EXPECT_STREQ(entry, L"Main screen");
  Send(IDC_SCREEN, CB_GETLBTEXT, 1, LPARAM(entry));
  EXPECT_STREQ(entry, L"Desktop's outer corner");
  EXPECT_EQ(Send(IDC_CORNER, CB_GETCURSEL), 0);
  EXPECT_EQ(Send(IDC_SCREEN, CB_GETCURSEL), 0);
  EXPECT_EQ(Send(IDC_HIDE_FOR_FULLSCREEN, BM_GETCHECK), BST_UNCHECKED);
  EXPECT_EQ(State(), 8u);

  // Each control on its own is an edit, and back again is none.
  Send(IDC_SCREEN, CB_SETCURSEL, 1);
  SendMessageW(page_, WM_COMMAND, MAKEWPARAM(IDC_SCREEN, CBN_SELCHANGE), LPARAM(screen));
  EXPECT_EQ(State(), 9u);
  Send(IDC_SCREEN, CB_SETCURSEL, 0);
  SendMessageW(page_, WM_COMMAND, MAKEWPARAM(IDC_SCREEN, CBN_SELCHANGE), LPARAM(screen));
  EXPECT_EQ(State(), 8u);
  Click(IDC_HIDE_FOR_FULLSCREEN);
  EXPECT_EQ(State(), 9u);
  Click(IDC_HIDE_FOR_FULLSCREEN);
  EXPECT_EQ(State(), 8u);

  Send(IDC_CORNER, CB_SETCURSEL, 3);
  SendMessageW(page_, WM_COMMAND, MAKEWPARAM(IDC_CORNER, CBN_SELCHANGE), LPARAM(corner));
  Send(IDC_SCREEN, CB_SETCURSEL, 1);
  SendMessageW(page_, WM_COMMAND, MAKEWPARAM(IDC_SCREEN, CBN_SELCHANGE), LPARAM(screen));
  Click(IDC_HIDE_FOR_FULLSCREEN);
  EXPECT_EQ(State(), 9u);
  EXPECT_EQ(WindowRect(moxel_).left, 0);  // nothing moves before apply
  preferences_->page()->apply();
  EXPECT_EQ(State(), 8u);
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(WindowRect(moxel_).left, width - 7);
  EXPECT_EQ(WindowRect(moxel_).top, height - 7);
  EXPECT_EQ(StoredValue(Stored(), Corner, 99), 3u);
  EXPECT_EQ(StoredValue(Stored(), Screen, 99), 1u);
  EXPECT_EQ(StoredValue(Stored(), HideForFullscreen, 99), 1u);

  preferences_->page()->reset();
  EXPECT_EQ(Send(IDC_CORNER, CB_GETCURSEL), 0);
  EXPECT_EQ(Send(IDC_SCREEN, CB_GETCURSEL), 0);
  EXPECT_EQ(Send(IDC_HIDE_FOR_FULLSCREEN, BM_GETCHECK), BST_UNCHECKED);
  EXPECT_EQ(State(), 9u);
  EXPECT_EQ(StoredValue(Stored(), Corner, 99), 3u);  // reset touches only the page
}

}  // namespace
