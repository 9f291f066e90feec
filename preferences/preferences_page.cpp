#include "preferences/preferences_page.h"

#include <cmath>
#include <cstring>
#include <string>

#include "host/boundary.h"
#include "host/config_vars.h"
#include "host/exception_win32.h"
#include "host/shared_library.h"
#include "moxel/bindings.h"
#include "preferences/host_text.h"
#include "preferences/labels.h"
#include "preferences/sensitivity.h"
#include "preferences/separator.h"
#include "window/guarded_window.h"

namespace {

constexpr UINT ModifierBoxIds[3] = {IDC_CTRL, IDC_ALT, IDC_SHIFT};
constexpr uint32_t ModifierBoxBits[3] = {ModifierCtrl, ModifierAlt, ModifierShift};

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

CMyPreferences::CMyPreferences(page_callback* callback)
    : pageCallback(service_ptr_t<page_callback>::share(callback)) {
  CSeparator::EnsureClass();
  // The template's list view, tree view and trackbar.
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
}

CMyPreferences::~CMyPreferences() {
  workingList.remove_all();
}

void CMyPreferences::Notify() {
  if (pageCallback) boundary::call([&] { pageCallback->on_state_changed(); });
}

uint32_t CMyPreferences::SensitivityPosition() {
  // A host may ask for the state, or apply, after the window has gone: reading a dead
  // trackbar would answer 0 and store that.
  if (::IsWindow(sensitivity)) lastSensitivity = uint32_t(::SendMessageW(sensitivity, TBM_GETPOS, 0, 0));
  return lastSensitivity;
}

int CMyPreferences::RowCount() const { return int(::SendMessageW(bindings, LVM_GETITEMCOUNT, 0, 0)); }

int CMyPreferences::SelectedRow() const {
  const int row = int(::SendMessageW(bindings, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
  return (row >= 0 && size_t(row) < workingList.get_count()) ? row : -1;
}

void CMyPreferences::SelectRow(int row) {
  LVITEMW state{};
  state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
  if (::SendMessageW(bindings, LVM_SETITEMSTATE, WPARAM(row), LPARAM(&state)))
    ::SendMessageW(bindings, LVM_ENSUREVISIBLE, WPARAM(row), FALSE);
}

void CMyPreferences::UpdateRow(int row) { ::SendMessageW(bindings, LVM_UPDATE, WPARAM(row), 0); }

void CMyPreferences::EnableEditors(BOOL enable) {
  for (HWND editor : {filter, commands.m_hWnd, filterLabel, key, modifierBoxes[0], modifierBoxes[1], modifierBoxes[2]})
    EnableWindow(editor, enable);
}

void CMyPreferences::CreateCaptionFont() {
  const auto dialogFont = reinterpret_cast<HFONT>(SendDlgItemMessageW(m_hWnd, IDC_CAPTION_BINDINGS, WM_GETFONT, 0, 0));
  LOGFONTW font;
  if (!GetObjectW(dialogFont, sizeof font, &font)) return;
  const LONG height = font.lfHeight;
  font.lfHeight = LONG(std::floor(height * 1.3 + 0.5));
  if (font.lfHeight == 0) font.lfHeight = height < 0 ? -1 : height > 0 ? 1 : 0;
  font.lfWeight = FW_BOLD;
  captionFont.reset(CreateFontIndirectW(&font));
  for (int caption : {IDC_CAPTION_BINDINGS, IDC_CAPTION_ACTION, IDC_CAPTION_WHEEL, IDC_CAPTION_INPUT})
    SendDlgItemMessageW(m_hWnd, caption, WM_SETFONT, WPARAM(captionFont.get()), 0);
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
    column.cx = int(::SendMessageW(bindings, LVM_GETSTRINGWIDTHW, 0, LPARAM(columns[i].title))) + 15;
    ::SendMessageW(bindings, LVM_INSERTCOLUMNW, WPARAM(i), LPARAM(&column));
    ::SendMessageW(bindings, LVM_SETCOLUMNWIDTH, WPARAM(i), columns[i].width);
  }
  const DWORD styles = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_AUTOSIZECOLUMNS;
  ::SendMessageW(bindings, LVM_SETEXTENDEDLISTVIEWSTYLE, styles, styles);
}

LRESULT CMyPreferences::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  bindings = GetDlgItem(m_hWnd, IDC_BINDINGS);
  sensitivity = GetDlgItem(m_hWnd, IDC_SENSITIVITY);
  filter = GetDlgItem(m_hWnd, IDC_FILTER);
  key = GetDlgItem(m_hWnd, IDC_KEY);
  filterLabel = GetDlgItem(m_hWnd, IDC_FILTER_LABEL);
  for (int i = 0; i < 3; ++i) modifierBoxes[i] = GetDlgItem(m_hWnd, ModifierBoxIds[i]);

  CreateCaptionFont();
  ::SendMessageW(sensitivity, TBM_SETRANGE, FALSE, MAKELONG(0, MaximumSensitivity));
  ::SendMessageW(sensitivity, TBM_SETPOS, TRUE, LPARAM(SensitivityShown(cfg_wheel_sensitivity)));
  SensitivityPosition();
  commands.Attach(GetDlgItem(m_hWnd, IDC_COMMANDS));
  commands.Rebuild(L"");
  workingList.replace_all(cfg_mouse_actions);
  SetUpColumns();
  ::SendMessageW(bindings, LVM_SETITEMCOUNT, workingList.get_count(), 0);
  for (uint32_t code = LeftClick; code <= RightFlip; ++code) {
    const LRESULT index = ::SendMessageW(key, CB_ADDSTRING, 0, LPARAM(KeyLabel(code)));
    ::SendMessageW(key, CB_SETITEMDATA, WPARAM(index), code);
  }
  ::SendMessageW(key, CB_SETCURSEL, WPARAM(-1), 0);
  return 0;  // no focus is set
}

LRESULT CMyPreferences::OnHScroll(UINT, WPARAM, LPARAM lParam, BOOL&) {
  if (reinterpret_cast<HWND>(lParam) == sensitivity) Notify();
  return 0;
}

LRESULT CMyPreferences::OnGetCellText(int, NMHDR* header, BOOL&) {
  auto* request = reinterpret_cast<NMLVDISPINFOW*>(header);
  const int row = request->item.iItem;
  if (!(request->item.mask & LVIF_TEXT) || row < 0 || size_t(row) >= workingList.get_count()) return 0;
  const MouseActionItem& binding = workingList[size_t(row)];
  switch (request->item.iSubItem) {
    case 0:
      CopyCellText(KeyLabel(binding.mouseKey), request->item.pszText, request->item.cchTextMax);
      break;
    case 1: {
      wchar_t label[ModifierLabelCapacity];
      ModifierLabel(binding.modifiers, label);
      CopyCellText(label, request->item.pszText, request->item.cchTextMax);
      break;
    }
    case 2:
      CopyCellText(ActionLabel(binding.action), request->item.pszText, request->item.cchTextMax);
      break;
    default:
      break;
  }
  return 0;
}

LRESULT CMyPreferences::OnRowChanged(int, NMHDR* header, BOOL&) {
  const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
  if ((change->uChanged & LVIF_STATE) && !(change->uOldState & LVIS_SELECTED) && (change->uNewState & LVIS_SELECTED))
    LoadSelectedBinding();
  return 0;
}

LRESULT CMyPreferences::OnRowDeleted(int, NMHDR* header, BOOL&) {
  const int row = reinterpret_cast<NMLISTVIEW*>(header)->iItem;
  if (row >= 0 && size_t(row) < workingList.get_count()) workingList.remove_by_idx(size_t(row));
  return 0;
}

LRESULT CMyPreferences::OnCommandSelected(int, NMHDR* header, BOOL&) {
  const auto* change = reinterpret_cast<NMTREEVIEWW*>(header);
  // Only the user's own choices count; the page's selections and the tree's reselections do not.
  if (change->action != TVC_BYMOUSE && change->action != TVC_BYKEYBOARD) return 0;
  const MenuTreeNode* node = commands.NodeFromItem(change->itemNew.hItem);
  if (!node || node->isContainer) return 0;
  const int row = SelectedRow();
  if (row < 0) return 0;
  workingList[size_t(row)].action = node->guid;
  UpdateRow(row);
  Notify();
  return 0;
}

LRESULT CMyPreferences::OnAddNew(WORD, WORD, HWND, BOOL&) {
  workingList.add_item(MouseActionItem{NotSet, 0, GUID{}});
  ::SendMessageW(bindings, LVM_SETITEMCOUNT, workingList.get_count(), 0);
  SelectRow(int(workingList.get_count()) - 1);
  Notify();
  return 0;
}

LRESULT CMyPreferences::OnRemove(WORD, WORD, HWND, BOOL&) {
  int row = SelectedRow();
  if (row < 0) return 0;
  ::SendMessageW(bindings, LVM_DELETEITEM, WPARAM(row), 0);
  if (row >= RowCount()) row = RowCount() - 1;
  SelectRow(row);
  Notify();
  LoadSelectedBinding();
  return 0;
}

LRESULT CMyPreferences::OnFilterChange(WORD, WORD, HWND, BOOL&) {
  std::wstring text(size_t(GetWindowTextLengthW(filter)) + 1, L'\0');
  text.resize(size_t(GetWindowTextW(filter, &text[0], int(text.size()))));
  LowerAsciiInPlace(text);
  commands.Rebuild(text);
  return 0;
}

LRESULT CMyPreferences::OnKeyChoice(WORD, WORD, HWND, BOOL&) {
  const LRESULT entry = ::SendMessageW(key, CB_GETCURSEL, 0, 0);
  if (entry < 0) return 0;
  const int row = SelectedRow();
  if (row < 0) return 0;
  workingList[size_t(row)].mouseKey = uint32_t(::SendMessageW(key, CB_GETITEMDATA, WPARAM(entry), 0));
  UpdateRow(row);
  Notify();
  return 0;
}

LRESULT CMyPreferences::OnModifierChange(WORD, WORD id, HWND box, BOOL&) {
  const LRESULT checked = ::SendMessageW(box, BM_GETCHECK, 0, 0);
  const int row = SelectedRow();
  if (row < 0) return 0;
  const uint32_t bit = ModifierBoxBits[id - IDC_CTRL];
  uint32_t& modifiers = workingList[size_t(row)].modifiers;
  modifiers = checked ? (modifiers | bit) : (modifiers & ~bit);
  UpdateRow(row);
  Notify();
  return 0;
}

void CMyPreferences::LoadSelectedBinding() {
  const int row = int(::SendMessageW(bindings, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
  if (row < 0 || row >= RowCount() || size_t(row) >= workingList.get_count()) {
    EnableEditors(FALSE);
    for (HWND box : modifierBoxes) ::SendMessageW(box, BM_SETCHECK, BST_UNCHECKED, 0);
    ::SendMessageW(key, CB_SETCURSEL, WPARAM(-1), 0);
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
  if (node && node->treeItem) commands.SendMessage(TVM_SELECTITEM, TVGN_CARET, LPARAM(node->treeItem));
  ::SendMessageW(key, CB_SETCURSEL, WPARAM(int(binding.mouseKey) - 1), 0);
  for (int i = 0; i < 3; ++i)
    ::SendMessageW(modifierBoxes[i], BM_SETCHECK, (binding.modifiers & ModifierBoxBits[i]) ? 1 : 0, 0);
}

uint32_t CMyPreferences::get_state() {
  bool same = workingList.get_count() == cfg_mouse_actions.get_count();
  for (size_t i = 0; same && i < workingList.get_count(); ++i) same = SameBinding(workingList[i], cfg_mouse_actions[i]);
  if (same && SensitivityPosition() == cfg_wheel_sensitivity) return PreferencesStateResettable;
  return PreferencesStateResettable | PreferencesStateChanged;
}

void CMyPreferences::apply() {
  boundary::serve([&] {
    cfg_mouse_actions.replace_all(workingList);
    cfg_wheel_sensitivity = SensitivityPosition();
    Notify();
  });
}

void CMyPreferences::reset() {
  boundary::serve([&] {
    ::SendMessageW(bindings, LVM_DELETEALLITEMS, 0, 0);
    workingList.remove_all();
    InstallDefaultBindings(workingList);
    ::SendMessageW(bindings, LVM_SETITEMCOUNT, workingList.get_count(), 0);
    ::SendMessageW(sensitivity, TBM_SETPOS, TRUE, DefaultWheelSensitivity);
    SensitivityPosition();
    LoadSelectedBinding();
    Notify();
  });
}

namespace {
// The host's own filter decides about an exception inside a page message.
LONG HostFilter(EXCEPTION_POINTERS* exception) { return uExceptFilterProc(exception); }
}  // namespace

using page_instance = window_service_impl_t<CWindowFixSEH<preferences_page_instance_impl<CMyPreferences>, HostFilter>,
                                           preferences_page_instance>;

preferences_page_instance* InstantiatePreferencesPage(HWND parent, page_callback* callback) {
  // Held while the dialog is created, then handed to the host: a dialog that dies during its
  // creation cannot take the instance with it before the failure is reported.
  auto instance = service_ptr_t<page_instance>::share(new page_instance(callback));
  SetLastError(0);
  if (!instance->Create(parent)) throw exception_win32(GetLastError());
  return instance.detach();
}
