// The component's page in the player's preferences: edits a working copy of the bindings, the
// wheel sensitivity and the moxel's position, which only Apply stores. Its owner passes what the page
// tells on to the player and to the moxel.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "host/config/config_vars.h"
#include "host/config/list.h"
#include "host/config/mouse_action.h"
#include "preferences/menu_tree_ctrl.h"
#include "resources/resource.h"
#include "window/controls.h"
#include "window/gdi.h"
#include "window/message_map.h"
#include "window/window.h"

class CMyPreferences : public CDialogImpl<CMyPreferences> {
 public:
  enum { IDD = IDD_PREFERENCES };

  // Makes sure the caption control's class exists.
  CMyPreferences();
  ~CMyPreferences() override;

  // Whether the page holds edits that differ from the stored values.
  bool HasChanges();
  // Stores the edits.
  void Apply();
  // Puts the defaults on the page, as edits.
  void Reset();

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
  COMMAND_HANDLER_EX(IDC_CORNER, CBN_SELCHANGE, OnPositionChoice)
  COMMAND_HANDLER_EX(IDC_SCREEN, CBN_SELCHANGE, OnPositionChoice)
  COMMAND_HANDLER_EX(IDC_HIDE_FOR_FULLSCREEN, BN_CLICKED, OnPositionChoice)
  END_MSG_MAP()

 protected:
  // Tells the player that the page's state changed.
  virtual void StateChanged() = 0;
  // Tells the moxel that Apply stored its position.
  virtual void PositionApplied() = 0;

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
  void OnPositionChoice(UINT, int, HWND) { StateChanged(); }

  void CreateCaptionFont();
  void SetUpColumns();
  void LoadSelectedBinding();
  void SelectRow(int row);
  // The selected row when it is a row of the working list, else -1.
  int SelectedRow() const;
  int RowCount() const;
  void UpdateRow(int row);
  void EnableEditors(BOOL enable);
  // The trackbar's position; once the trackbar is gone, the last position it had.
  uint32_t SensitivityPosition();
  // The position's settings on the page; once their controls are gone, what they last showed.
  uint32_t ChosenCorner() { return ChoiceIn(corner, lastCorner); }
  uint32_t ChosenScreen() { return ChoiceIn(screen, lastScreen); }
  uint32_t ChosenHiding();
  static uint32_t ChoiceIn(const CComboBox& box, uint32_t& last);
  void ShowPosition(ScreenCorner shownCorner, ScreenChoice shownScreen, bool hide);

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
  CComboBox screen;
  uint32_t lastScreen = 0;
  CButton hideForFullscreen;
  uint32_t lastHideForFullscreen = 0;
};
