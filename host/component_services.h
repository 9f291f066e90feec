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
