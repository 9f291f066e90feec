#pragma once

#include "host/player/interfaces/component_services.h"

class componentversion_myimpl : public componentversion {
 public:
  void get_file_name(string_base& out) override;
  void get_component_name(string_base& out) override;
  void get_component_version(string_base& out) override;
  void get_about_message(string_base& out) override;
};
