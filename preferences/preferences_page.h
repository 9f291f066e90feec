// The component's page in the host's preferences: edits a working copy of the bindings and
// the wheel sensitivity, which only the host's apply stores.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "host/component_services.h"
#include "host/list.h"
#include "moxel/mouse_action.h"
#include "preferences/menu_tree_ctrl.h"
#include "resources/resource.h"
#include "window/controls.h"
#include "window/gdi.h"
#include "window/window.h"

class CMyPreferences : public CDialogImpl<CMyPreferences>, public preferences_page_instance {
 public:
  enum { IDD = IDD_PREFERENCES };

  // Takes a reference to `callback`; makes sure the caption control's class exists.
  explicit CMyPreferences(page_callback* callback);
  ~CMyPreferences() override;

  uint32_t get_state() override;
  void apply() override;
  void reset() override;

  // Puts right what a message that a failing host call ended left half done.
  void OnMessageCutShort() { commands.ResumeRedraw(); }

  BEGIN_MSG_MAP(CMyPreferences)
  MSG_WM_INITDIALOG(OnInitDialog)
  MSG_WM_HSCROLL(OnHScroll)
  NOTIFY_HANDLER_EX(IDC_BINDINGS, LVN_GETDISPINFOW, OnGetCellText)
  NOTIFY_HANDLER_EX(IDC_BINDINGS, LVN_ITEMCHANGED, OnRowChanged)
  NOTIFY_HANDLER_EX(IDC_BINDINGS, LVN_DELETEITEM, OnRowDeleted)
  NOTIFY_HANDLER_EX(IDC_COMMANDS, TVN_SELCHANGEDW, OnCommandSelected)
  COMMAND_HANDLER_EX(IDC_ADD, BN_CLICKED, OnAddNew)
  COMMAND_HANDLER_EX(IDC_REMOVE, BN_CLICKED, OnRemove)
  COMMAND_HANDLER_EX(IDC_FILTER, EN_CHANGE, OnFilterChange)
  COMMAND_HANDLER_EX(IDC_KEY, CBN_SELCHANGE, OnKeyChoice)
  COMMAND_HANDLER_EX(IDC_CTRL, BN_CLICKED, OnModifierChange)
  COMMAND_HANDLER_EX(IDC_ALT, BN_CLICKED, OnModifierChange)
  COMMAND_HANDLER_EX(IDC_SHIFT, BN_CLICKED, OnModifierChange)
  COMMAND_HANDLER_EX(IDC_CORNER, CBN_SELCHANGE, OnCornerChoice)
  END_MSG_MAP()

 private:
  BOOL OnInitDialog(HWND focus, LPARAM);
  void OnHScroll(UINT code, UINT position, HWND bar);
  LRESULT OnGetCellText(NMHDR* header);
  LRESULT OnRowChanged(NMHDR* header);
  LRESULT OnRowDeleted(NMHDR* header);
  LRESULT OnCommandSelected(NMHDR* header);
  void OnAddNew(UINT notification, int id, HWND control);
  void OnRemove(UINT notification, int id, HWND control);
  void OnFilterChange(UINT notification, int id, HWND control);
  void OnKeyChoice(UINT notification, int id, HWND control);
  void OnModifierChange(UINT notification, int id, HWND control);
  void OnCornerChoice(UINT, int, HWND) { Notify(); }

  void CreateCaptionFont();
  void SetUpColumns();
  void LoadSelectedBinding();
  void SelectRow(int row);
  // The selected row when it is a row of the working list, else -1.
  int SelectedRow() const;
  int RowCount() const;
  void UpdateRow(int row);
  void EnableEditors(BOOL enable);
  void Notify();
  // The trackbar's position; once the trackbar is gone, the last position it had.
  uint32_t SensitivityPosition();
  // The corner chosen in the combo box; once the box is gone, the last one it showed.
  uint32_t CornerChoice();

  service_ptr_t<page_callback> pageCallback;
  owned_font captionFont;
  CListViewCtrl bindings;
  CTrackBarCtrl sensitivity;
  CMenuTreeCtrl commands;
  HWND filter = nullptr;
  CComboBox key;
  HWND filterLabel = nullptr;
  CButton modifierBoxes[3];  // Ctrl, Alt, Shift
  list_t<MouseActionItem> workingList;
  uint32_t lastSensitivity = 0;
  CComboBox corner;
  uint32_t lastCorner = 0;
};

// The page instance the host holds: the page with its window query and creation.
template <class T>
class preferences_page_instance_impl : public T {
 public:
  using T::T;
  HWND get_wnd() override { return this->m_hWnd; }
};

// Creates a page instance as a child of `parent`, carrying one reference for the caller;
// throws exception_win32 when the dialog cannot be created.
preferences_page_instance* InstantiatePreferencesPage(HWND parent, page_callback* callback);
