// The binding record and its vocabulary: mouse key codes and modifier bits.
#pragma once

#include <cstdint>

#include "host/player/interfaces/guid.h"

enum MouseKey : uint32_t {
  NotSet = 0,
  LeftClick = 1,
  RightClick = 2,
  MiddleClick = 3,
  XButton1Click = 4,
  XButton2Click = 5,
  LeftFlip = 6,
  RightFlip = 7,
};

// The values of the Win32 key-state bits MK_SHIFT and MK_CONTROL, and 0x20 for Alt.
enum : uint32_t {
  ModifierShift = 0x04,
  ModifierCtrl = 0x08,
  ModifierAlt = 0x20,
};

struct MouseActionItem {
  uint32_t mouseKey;
  uint32_t modifiers;
  GUID action;
};
