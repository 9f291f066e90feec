// Turns the moxel's mouse-button messages into clicks and flips. Fed with each button
// message and its key-state word; a completed gesture comes back as (modifiers, key).
#pragma once

#include <cstdint>

#include "host/config/mouse_action.h"

// Mouse-button message numbers, as Win32 numbers them.
enum ButtonMessage : uint32_t {
  MsgLButtonDown = 0x0201,
  MsgLButtonUp = 0x0202,
  MsgRButtonDown = 0x0204,
  MsgRButtonUp = 0x0205,
  MsgMButtonDown = 0x0207,
  MsgMButtonUp = 0x0208,
  MsgXButtonDown = 0x020B,
  MsgXButtonUp = 0x020C,
};

// Key-state button bits (MK_LBUTTON, MK_RBUTTON, MK_MBUTTON, MK_XBUTTON1, MK_XBUTTON2).
enum : uint32_t {
  KeyStateLeft = 0x01,
  KeyStateRight = 0x02,
  KeyStateMiddle = 0x10,
  KeyStateX1 = 0x20,
  KeyStateX2 = 0x40,
  ButtonMask = 0x73,
};

// Raw-input button flags that end a left or right press.
enum : uint32_t {
  RawLeftButtonUp = 0x0002,
  RawRightButtonUp = 0x0008,
};

struct Gesture {
  uint32_t modifiers;
  uint32_t mouseKey;
};

class GestureRecognizer {
 public:
  // Handles one button message; true when it completes a gesture, stored in `gesture`.
  // The modifier set is the key state's Shift and Ctrl bits; Alt, which the key state does
  // not carry (its bit 0x20 there is X button 1), is the caller's to add.
  bool OnButtonMessage(uint32_t message, uint32_t keyState, Gesture& gesture);

  // A left or right release seen outside the moxel ends whatever gesture was under way.
  void OnRawButtonFlags(uint32_t buttonFlags, bool hovered) {
    if (!hovered && (buttonFlags & (RawLeftButtonUp | RawRightButtonUp))) buttonMask_ = 0;
  }

  uint32_t buttonMask() const { return buttonMask_; }

 private:
  bool Complete(uint32_t keyState, uint32_t mouseKey, Gesture& gesture);

  uint32_t buttonMask_ = 0;
};
