// Creates the moxel when the host starts and destroys it when the host shuts down.
#pragma once

#include "host/player/interfaces/component_services.h"

class myinitquit : public initquit {
 public:
  void on_init() override;
  void on_quit() override;
};
