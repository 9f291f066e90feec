// Lists the component's page in the host's preferences and opens it on demand.
#pragma once

#include <string>

#include "host/player/interfaces/component_services.h"

class preferences_page_myimpl : public preferences_page_v3 {
 public:
  static constexpr GUID PageGuid = {0x54E8BF02, 0xA260, 0x4A38, {0x9D, 0xA0, 0xD7, 0xA3, 0xC1, 0x69, 0x54, 0x13}};
  static constexpr GUID ParentPageGuid = {0x6AAA67B6, 0x732F, 0x4967, {0x89, 0x9A, 0x18, 0xC5, 0xF8, 0xC7, 0x00, 0x17}};
  static constexpr const char* HelpBase = "https://help.moxel-control.example/";

  // The older way to make a page is not offered: throws exception_not_implemented.
  HWND create(HWND parent) override;
  const char* get_name() override { return "moxel control"; }
  GUID* get_guid(GUID* result) override { return &(*result = PageGuid); }
  GUID* get_parent_guid(GUID* result) override { return &(*result = ParentPageGuid); }
  bool reset_query() override { return false; }
  void reset() override {}
  bool get_help_url(string_base& out) override;
  double get_sort_priority() override { return 0; }
  preferences_page_instance* instantiate(HWND parent, page_callback* callback) override;
};
