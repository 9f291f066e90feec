// The service interfaces the component offers the host, with their class GUIDs.
#pragma once

#include "host/player/interfaces/host_services.h"
#include "host/player/interfaces/service.h"

class componentversion : public service_base {
 public:
  static constexpr GUID class_guid = {0x10BB3EBD, 0xDDF7, 0x4975, {0xA3, 0xCC, 0x23, 0x08, 0x48, 0x29, 0x45, 0x3E}};
  static bool handles_class(const GUID& guid) { return guid == class_guid; }

  virtual void get_file_name(string_base& out) = 0;          // [3]
  virtual void get_component_name(string_base& out) = 0;     // [4]
  virtual void get_component_version(string_base& out) = 0;  // [5]
  virtual void get_about_message(string_base& out) = 0;      // [6]

 protected:
  ~componentversion() = default;
};

class initquit : public service_base {
 public:
  static constexpr GUID class_guid = {0x113773C4, 0xB387, 0x4B48, {0x8B, 0xDF, 0xAB, 0x58, 0xBC, 0x6C, 0xE5, 0x38}};
  static bool handles_class(const GUID& guid) { return guid == class_guid; }

  virtual void on_init() = 0;  // [3]
  virtual void on_quit() = 0;  // [4]

 protected:
  ~initquit() = default;
};

// One open preferences page, owned by the host by reference.
class preferences_page_instance : public service_base {
 public:
  static constexpr GUID class_guid = {0x6893A996, 0xA816, 0x49FE, {0x82, 0xCE, 0x0C, 0xB8, 0x04, 0xA4, 0xCF, 0xEC}};

  // Bit 8 always; bit 1 when the page holds edits that differ from the stored values.
  virtual uint32_t get_state() = 0;  // [3]
  virtual HWND get_wnd() = 0;        // [4]
  virtual void apply() = 0;          // [5]
  virtual void reset() = 0;          // [6]

 protected:
  ~preferences_page_instance() = default;
};

enum : uint32_t {
  PreferencesStateChanged = 1,
  PreferencesStateResettable = 8,
};

class preferences_page : public service_base {
 public:
  static constexpr GUID class_guid = {0x7255E8D0, 0x3FCF, 0x4781, {0xB9, 0x3B, 0xD0, 0x6C, 0xB8, 0x8D, 0xFA, 0xFA}};
  static bool handles_class(const GUID& guid) { return guid == class_guid; }

  virtual HWND create(HWND parent) = 0;  // [3] the older way to make a page
  virtual const char* get_name() = 0;    // [4]
  // GUID results through the caller's buffer, as the host interfaces' (host_services.h).
  virtual GUID* get_guid(GUID* result) = 0;         // [5]
  virtual GUID* get_parent_guid(GUID* result) = 0;  // [6]
  virtual bool reset_query() = 0;                   // [7]
  virtual void reset() = 0;                         // [8]

 protected:
  ~preferences_page() = default;
};

class preferences_page_v2 : public preferences_page {
 public:
  static constexpr GUID class_guid = {0xCE4EBC9E, 0xAB20, 0x46F9, {0x92, 0x5F, 0x88, 0x3B, 0x08, 0x4F, 0x05, 0x69}};
  static bool handles_class(const GUID& guid) { return guid == class_guid || preferences_page::handles_class(guid); }

  virtual bool get_help_url(string_base& out) = 0;  // [9]
  virtual double get_sort_priority() = 0;           // [10]

 protected:
  ~preferences_page_v2() = default;
};

class preferences_page_v3 : public preferences_page_v2 {
 public:
  static constexpr GUID class_guid = {0xD6D0F741, 0x9F17, 0x4DF8, {0x9D, 0x5C, 0x87, 0xF2, 0x8B, 0x1F, 0x0E, 0x64}};
  static bool handles_class(const GUID& guid) { return guid == class_guid || preferences_page_v2::handles_class(guid); }

  // A new page instance, a child of `parent`, carrying one reference for the caller.
  virtual preferences_page_instance* instantiate(HWND parent, page_callback* callback) = 0;  // [11]

 protected:
  ~preferences_page_v3() = default;
};
