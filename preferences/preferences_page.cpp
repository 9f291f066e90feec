#include "preferences/preferences_page.h"

#include <cmath>
#include <cstring>
#include <string>

#include "host/config/config_vars.h"
#include "preferences/filter_text.h"
#include "labels/labels.h"
#include "preferences/sensitivity.h"
#include "preferences/separator.h"

namespace {

constexpr UINT ModifierBoxIds[3] = {IDC_CTRL, IDC_ALT, IDC_SHIFT};
constexpr uint32_t ModifierBoxBits[3] = {ModifierCtrl, ModifierAlt, ModifierShift};
// The position's boxes' entries, at the index of the stored value they stand for.
constexpr const wchar_t* CornerNames[4] = {L"Top left", L"Top right", L"Bottom left", L"Bottom right"};
constexpr const wchar_t* ScreenNames[2] = {L"Main screen", L"Desktop's outer corner"};

bool SameBinding(const MouseActionItem& a, const MouseActionItem& b) {
  return a.mouseKey == b.mouseKey && a.modifiers == b.modifiers && a.action == b.action;
}

// Copies `text` into a list view's buffer, cut to its room.
void CopyCellText(const std::wstring& text, wchar_t* buffer, int room) {
  if (!buffer || room <= 0) return;
  const size_t length = std::min(text.size(), size_t(room - 1));
  std::memcpy(buffer, text.data(), length * sizeof(wchar_t));
  buffer[length] = L'\0';
}

}  // namespace

CMyPreferences::CMyPreferences() {
  CSeparator::EnsureClass();
  // The template's list view, tree view and trackbar.
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
}

CMyPreferences::~CMyPreferences() { workingList.remove_all(); }

uint32_t CMyPreferences::SensitivityPosition() {
  // A host may ask for the state, or apply, after the window has gone: reading a dead
  // trackbar would answer 0 and store that.
  if (::IsWindow(sensitivity)) lastSensitivity = uint32_t(sensitivity.GetPos());
  return lastSensitivity;
}

uint32_t CMyPreferences::ChoiceIn(const CComboBox& box, uint32_t& last) {
  if (::IsWindow(box)) {
    const int entry = box.GetCurSel();
    if (entry >= 0) last = uint32_t(entry);
  }
  return last;
}

uint32_t CMyPreferences::ChosenHiding() {
  if (::IsWindow(hideForFullscreen)) lastHideForFullscreen = hideForFullscreen.GetCheck() == BST_CHECKED;
  return lastHideForFullscreen;
}

int CMyPreferences::RowCount() const { return bindings.GetItemCount(); }

int CMyPreferences::SelectedRow() const {
  const int row = bindings.GetNextItem(-1, LVNI_SELECTED);
  return (row >= 0 && size_t(row) < workingList.get_count()) ? row : -1;
}

void CMyPreferences::SelectRow(int row) {
  LVITEMW state{};
  state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
  if (bindings.SetItemState(row, &state)) bindings.EnsureVisible(row, FALSE);
}

void CMyPreferences::UpdateRow(int row) { bindings.Update(row); }

void CMyPreferences::EnableEditors(BOOL enable) {
  for (HWND editor : {filter, commands.m_hWnd, filterLabel, key.m_hWnd, modifierBoxes[0].m_hWnd,
                      modifierBoxes[1].m_hWnd, modifierBoxes[2].m_hWnd})
    EnableWindow(editor, enable);
}

void CMyPreferences::CreateCaptionFont() {
  const HFONT dialogFont = CWindow(GetDlgItem(m_hWnd, IDC_CAPTION_BINDINGS)).GetFont();
  LOGFONTW font;
  if (!GetObjectW(dialogFont, sizeof font, &font)) return;
  const LONG height = font.lfHeight;
  font.lfHeight = LONG(std::floor(height * 1.3 + 0.5));
  if (font.lfHeight == 0) font.lfHeight = height < 0 ? -1 : height > 0 ? 1 : 0;
  font.lfWeight = FW_BOLD;
  captionFont.reset(CreateFontIndirectW(&font));
  for (int caption :
       {IDC_CAPTION_BINDINGS, IDC_CAPTION_ACTION, IDC_CAPTION_WHEEL, IDC_CAPTION_INPUT, IDC_CAPTION_POSITION})
    CWindow(GetDlgItem(m_hWnd, caption)).SetFont(captionFont.get(), FALSE);
}

void CMyPreferences::SetUpColumns() {
  const struct {
    const wchar_t* title;
    int width;
  } columns[] = {{L"Mouse key", 100}, {L"Modifier", 100}, {L"Action", 250}};
  for (int i = 0; i < 3; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.iSubItem = i;
    column.pszText = const_cast<wchar_t*>(columns[i].title);
    column.cx = bindings.GetStringWidth(columns[i].title) + 15;
    bindings.InsertColumn(i, &column);
    bindings.SetColumnWidth(i, columns[i].width);
  }
  const DWORD styles = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_AUTOSIZECOLUMNS;
  bindings.SetExtendedListViewStyle(styles, styles);
}

BOOL CMyPreferences::OnInitDialog(HWND, LPARAM) {
  bindings.m_hWnd = GetDlgItem(m_hWnd, IDC_BINDINGS);
  sensitivity.m_hWnd = GetDlgItem(m_hWnd, IDC_SENSITIVITY);
  filter = GetDlgItem(m_hWnd, IDC_FILTER);
  key.m_hWnd = GetDlgItem(m_hWnd, IDC_KEY);
  filterLabel = GetDlgItem(m_hWnd, IDC_FILTER_LABEL);
  for (int i = 0; i < 3; ++i) modifierBoxes[i].m_hWnd = GetDlgItem(m_hWnd, ModifierBoxIds[i]);

  CreateCaptionFont();
  sensitivity.SetRange(0, MaximumSensitivity);
  sensitivity.SetPos(int(SensitivityShown(cfg_wheel_sensitivity)));
  SensitivityPosition();
  commands.Attach(GetDlgItem(m_hWnd, IDC_COMMANDS));
  commands.Rebuild(L"");
  workingList.replace_all(cfg_mouse_actions);
  SetUpColumns();
  bindings.SetItemCount(int(workingList.get_count()));
  for (uint32_t code = LeftClick; code <= RightFlip; ++code) key.SetItemData(key.AddString(KeyLabel(code)), code);
  key.SetCurSel(-1);
  corner.m_hWnd = GetDlgItem(m_hWnd, IDC_CORNER);
  for (const wchar_t* name : CornerNames) corner.AddString(name);
  screen.m_hWnd = GetDlgItem(m_hWnd, IDC_SCREEN);
  for (const wchar_t* name : ScreenNames) screen.AddString(name);
  hideForFullscreen.m_hWnd = GetDlgItem(m_hWnd, IDC_HIDE_FOR_FULLSCREEN);
  ShowPosition(CornerFromStored(cfg_moxel_corner), ScreenFromStored(cfg_moxel_screen), cfg_hide_for_fullscreen != 0);
  return FALSE;  // no focus is set
}

void CMyPreferences::OnHScroll(UINT, UINT, HWND bar) {
  if (bar == sensitivity) StateChanged();
}

LRESULT CMyPreferences::OnGetCellText(NMHDR* header) {
  auto* request = reinterpret_cast<NMLVDISPINFOW*>(header);
  const int row = request->item.iItem;
  if (!(request->item.mask & LVIF_TEXT) || row < 0 || size_t(row) >= workingList.get_count()) return 0;
  const MouseActionItem& binding = workingList[size_t(row)];
  switch (request->item.iSubItem) {
    case 0: CopyCellText(KeyLabel(binding.mouseKey), request->item.pszText, request->item.cchTextMax); break;
    case 1: {
      wchar_t label[ModifierLabelCapacity];
      ModifierLabel(binding.modifiers, label);
      CopyCellText(label, request->item.pszText, request->item.cchTextMax);
      break;
    }
    case 2: CopyCellText(ActionLabel(binding.action), request->item.pszText, request->item.cchTextMax); break;
    default: break;
  }
  return 0;
}

LRESULT CMyPreferences::OnRowChanged(NMHDR* header) {
  const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
  if ((change->uChanged & LVIF_STATE) && !(change->uOldState & LVIS_SELECTED) && (change->uNewState & LVIS_SELECTED))
    LoadSelectedBinding();
  return 0;
}

LRESULT CMyPreferences::OnRowDeleted(NMHDR* header) {
  const int row = reinterpret_cast<NMLISTVIEW*>(header)->iItem;
  if (row >= 0 && size_t(row) < workingList.get_count()) workingList.remove_by_idx(size_t(row));
  return 0;
}

LRESULT CMyPreferences::OnCommandSelected(NMHDR* header) {
  const auto* change = reinterpret_cast<NMTREEVIEWW*>(header);
  // Only the user's own choices count; the page's selections and the tree's reselections do not.
  if (change->action != TVC_BYMOUSE && change->action != TVC_BYKEYBOARD) return 0;
  const MenuTreeNode* node = commands.NodeFromItem(change->itemNew.hItem);
  if (!node || node->isContainer) return 0;
  const int row = SelectedRow();
  if (row < 0) return 0;
  workingList[size_t(row)].action = node->guid;
  UpdateRow(row);
  StateChanged();
  return 0;
}

void CMyPreferences::OnAddNew(UINT, int, HWND) {
  workingList.add_item(MouseActionItem{NotSet, 0, GUID{}});
  bindings.SetItemCount(int(workingList.get_count()));
  SelectRow(int(workingList.get_count()) - 1);
  StateChanged();
}

void CMyPreferences::OnRemove(UINT, int, HWND) {
  int row = SelectedRow();
  if (row < 0) return;
  bindings.DeleteItem(row);
  if (row >= RowCount()) row = RowCount() - 1;
  SelectRow(row);
  StateChanged();
  LoadSelectedBinding();
}

void CMyPreferences::OnFilterChange(UINT, int, HWND) {
  std::wstring text(size_t(GetWindowTextLengthW(filter)) + 1, L'\0');
  text.resize(size_t(GetWindowTextW(filter, &text[0], int(text.size()))));
  LowerAsciiInPlace(text);
  commands.Rebuild(text);
}

void CMyPreferences::OnKeyChoice(UINT, int, HWND) {
  const int entry = key.GetCurSel();
  if (entry < 0) return;
  const int row = SelectedRow();
  if (row < 0) return;
  workingList[size_t(row)].mouseKey = uint32_t(key.GetItemData(entry));
  UpdateRow(row);
  StateChanged();
}

void CMyPreferences::OnModifierChange(UINT, int id, HWND box) {
  const bool checked = CButton(box).GetCheck() != BST_UNCHECKED;
  const int row = SelectedRow();
  if (row < 0) return;
  const uint32_t bit = ModifierBoxBits[id - IDC_CTRL];
  uint32_t& modifiers = workingList[size_t(row)].modifiers;
  modifiers = checked ? (modifiers | bit) : (modifiers & ~bit);
  UpdateRow(row);
  StateChanged();
}

void CMyPreferences::LoadSelectedBinding() {
  const int row = bindings.GetNextItem(-1, LVNI_SELECTED);
  if (row < 0 || row >= RowCount() || size_t(row) >= workingList.get_count()) {
    EnableEditors(FALSE);
    for (CButton& box : modifierBoxes) box.SetCheck(BST_UNCHECKED);
    key.SetCurSel(-1);
    return;
  }
  EnableEditors(TRUE);
  const MouseActionItem binding = workingList[size_t(row)];
  const MenuTreeNode* node = commands.FindNode(binding.action);
  if (!node || node->isContainer) {
    SetWindowTextW(filter, L"");  // its EN_CHANGE rebuilds the tree by the filter rule
    commands.Rebuild(L"");
  }
  node = commands.FindNode(binding.action);
  if (node && node->treeItem) CTreeViewCtrl(commands).SelectItem(static_cast<HTREEITEM>(node->treeItem));
  key.SetCurSel(int(binding.mouseKey) - 1);
  for (int i = 0; i < 3; ++i)
    modifierBoxes[i].SetCheck((binding.modifiers & ModifierBoxBits[i]) ? BST_CHECKED : BST_UNCHECKED);
}

bool CMyPreferences::HasChanges() {
  bool same = workingList.get_count() == cfg_mouse_actions.get_count();
  for (size_t i = 0; same && i < workingList.get_count(); ++i) same = SameBinding(workingList[i], cfg_mouse_actions[i]);
  same = same && SensitivityPosition() == cfg_wheel_sensitivity;
  same = same && ChosenCorner() == uint32_t(CornerFromStored(cfg_moxel_corner));
  same = same && ChosenScreen() == uint32_t(ScreenFromStored(cfg_moxel_screen));
  return !(same && ChosenHiding() == uint32_t(cfg_hide_for_fullscreen != 0));
}

void CMyPreferences::Apply() {
  cfg_mouse_actions.replace_all(workingList);
  cfg_wheel_sensitivity = SensitivityPosition();
  cfg_moxel_corner = ChosenCorner();
  cfg_moxel_screen = ChosenScreen();
  cfg_hide_for_fullscreen = ChosenHiding();
  PositionApplied();
  StateChanged();
}

void CMyPreferences::Reset() {
  bindings.DeleteAllItems();
  workingList.remove_all();
  InstallDefaultBindings(workingList);
  bindings.SetItemCount(int(workingList.get_count()));
  sensitivity.SetPos(int(DefaultWheelSensitivity));
  SensitivityPosition();
  ShowPosition(ScreenCorner::TopLeft, ScreenChoice::Main, false);
  LoadSelectedBinding();
  StateChanged();
}

void CMyPreferences::ShowPosition(ScreenCorner shownCorner, ScreenChoice shownScreen, bool hide) {
  corner.SetCurSel(int(shownCorner));
  screen.SetCurSel(int(shownScreen));
  hideForFullscreen.SetCheck(hide ? BST_CHECKED : BST_UNCHECKED);
  ChosenCorner();
  ChosenScreen();
  ChosenHiding();
}
