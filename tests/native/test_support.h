// Shared helpers of the window-free tests.
#pragma once

#include "host/config/config_vars.h"
#include "tests/stream_bytes.h"

// Puts the persisted variables back to their load-time values.
inline void ResetConfiguration() {
  cfg_mouse_actions.remove_all();
  cfg_defaults_applied = 0;
  cfg_wheel_sensitivity = DefaultWheelSensitivity;
  cfg_moxel_corner = 0;
  cfg_moxel_screen = 0;
  cfg_hide_for_fullscreen = 0;
}
