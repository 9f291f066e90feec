// The service interfaces the component offers the host, with their class GUIDs.
#pragma once

#include "host/service.h"

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
