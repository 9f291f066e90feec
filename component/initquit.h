// Creates the moxel when the host starts and destroys it when the host shuts down.
#pragma once

#include "host/player/interfaces/component_services.h"
#include "moxel/moxel_window.h"

class myinitquit : public initquit {
 public:
  void on_init() override;
  void on_quit() override;
};

// The one moxel of the library, alive while the library is loaded: init makes its window,
// quit destroys it, and the page moves it to the corner the user applied.
extern CMoxelWindow g_moxel_window;
