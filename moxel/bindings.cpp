#include "moxel/bindings.h"

#include "host/config/config_vars.h"
#include "host/player/player.h"

void ApplyFirstRunDefaults() {
  if (cfg_defaults_applied != 0) return;
  cfg_mouse_actions.remove_all();
  InstallDefaultBindings(cfg_mouse_actions);
  cfg_defaults_applied = 1;
  cfg_wheel_sensitivity = DefaultWheelSensitivity;
}

void RunActions(uint32_t modifiers, uint32_t mouseKey) {
  // A command may edit the bindings while it runs; the snapshot keeps this gesture's walk
  // over the list as it was when the gesture completed.
  list_t<MouseActionItem> snapshot;
  snapshot.replace_all(cfg_mouse_actions);
  for (const MouseActionItem& item : snapshot) {
    if (item.mouseKey != mouseKey || item.modifiers != modifiers) continue;
    player::run_command(item.action);
  }
}
