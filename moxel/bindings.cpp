#include "moxel/bindings.h"

#include "host/boundary.h"
#include "host/config_vars.h"
#include "host/service_lookup.h"

namespace {
constexpr GUID PlayOrPause = {0x90500F09, 0xF16F, 0x415E, {0xA0, 0x47, 0xAC, 0x50, 0x45, 0xC9, 0x5F, 0xFE}};
constexpr GUID Previous = {0x059C4566, 0x4708, 0x4EBF, {0x81, 0x39, 0x6A, 0x8E, 0xA5, 0xA9, 0xDF, 0xC8}};
constexpr GUID Stop = {0x13C17E8D, 0x0D6F, 0x41A4, {0xB2, 0x4A, 0x59, 0x37, 0x10, 0x43, 0xE9, 0x25}};
constexpr GUID Next = {0xE58895A0, 0xA2F0, 0x45B6, {0x87, 0x99, 0x14, 0x40, 0xE4, 0xDB, 0x72, 0x84}};
constexpr GUID Random = {0x8DEBC44E, 0xEDA2, 0x48D4, {0x86, 0x96, 0x31, 0xFC, 0x29, 0xD1, 0xF3, 0x83}};
}  // namespace

const MouseActionItem DefaultBindings[9] = {
    {LeftClick, 0, PlayOrPause}, {LeftClick, ModifierShift, Previous},
    {RightClick, 0, Stop},       {RightClick, ModifierShift, Next},
    {MiddleClick, 0, Random},    {XButton1Click, 0, Previous},
    {XButton2Click, 0, Next},    {LeftFlip, 0, Previous},
    {RightFlip, 0, Next},
};

void InstallDefaultBindings(list_t<MouseActionItem>& list) {
  list.insert_items(DefaultBindings, sizeof DefaultBindings / sizeof DefaultBindings[0], list.get_count());
}

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
    service_ptr_t<command_provider> provider;
    uint32_t index = 0;
    bool found;
    {
      service_ptr_t<command_resolver> resolver;
      service_lookup_t(resolver);
      found = boundary::call([&] { return resolver->find_command(&item.action, provider.receive(), index); });
    }
    if (found && provider) boundary::call([&] { provider->execute(index, nullptr); });
  }
}
