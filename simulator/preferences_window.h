// The simulated player's preferences dialog: a list of pages, the selected page beside it,
// and OK, Cancel, Apply and Reset, which drive a component's page instance as a player does.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "host/player/interfaces/component_services.h"
#include "simulator/simulated_host.h"

class preferences_window {
 public:
  enum : int { OkButton = 1, CancelButton = 2, ApplyButton = 3, ResetButton = 4, PageList = 5 };

  explicit preferences_window(simulated_host& host);
  preferences_window(const preferences_window&) = delete;
  preferences_window& operator=(const preferences_window&) = delete;
  // Closes the window without applying.
  ~preferences_window();

  HWND window() const { return window_; }
  HWND button(int id) const { return GetDlgItem(window_, id); }

  // Selects the page `guid` in the list and shows it; answers whether a page is open.
  bool ShowPage(const GUID& guid);
  preferences_page_instance* page() const { return instance_; }
  // The open page's window, or null.
  HWND page_window() const;
  bool closed() const { return window_ == nullptr; }
  // The page's state-changed notifications so far.
  int state_changes() const { return changes_; }
  // The message of the last failure of a page operation, if any.
  const std::string& last_failure() const { return failure_; }

 private:
  struct page_entry {
    std::wstring title;
    GUID guid;
    preferences_page_v3* component;  // null for the player's own pages
  };
  class page_callback_impl;

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id, int code);
  void ListPages();
  void ClosePage();
  void UpdateApply();
  void Close();

  simulated_host& host_;
  HWND window_ = nullptr;
  HWND area_ = nullptr;
  std::vector<page_entry> pages_;
  preferences_page_instance* instance_ = nullptr;
  page_callback_impl* callback_ = nullptr;
  int changes_ = 0;
  std::string failure_;
};
