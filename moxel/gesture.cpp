#include "moxel/gesture.h"

bool GestureRecognizer::Complete(uint32_t keyState, uint32_t mouseKey, Gesture& gesture) {
  // Bit 0x20 of a key state is X button 1, not Alt: only Shift and Ctrl come from it.
  gesture = {keyState & (ModifierShift | ModifierCtrl), mouseKey};
  return true;
}

bool GestureRecognizer::OnButtonMessage(uint32_t message, uint32_t keyState, Gesture& gesture) {
  const uint32_t held = keyState & ButtonMask;
  bool completed = false;
  switch (message) {
    case MsgLButtonDown:
    case MsgRButtonDown:
    case MsgMButtonDown:
    case MsgXButtonDown:
      buttonMask_ |= held;
      // A flip: the press that makes the gesture's buttons exactly left and right.
      if (buttonMask_ == (KeyStateLeft | KeyStateRight)) {
        if (message == MsgLButtonDown) return Complete(keyState, LeftFlip, gesture);
        if (message == MsgRButtonDown) return Complete(keyState, RightFlip, gesture);
      }
      return false;
    case MsgLButtonUp:
      if (buttonMask_ == KeyStateLeft) completed = Complete(keyState, LeftClick, gesture);
      break;
    case MsgRButtonUp:
      if (buttonMask_ == KeyStateRight) completed = Complete(keyState, RightClick, gesture);
      break;
    case MsgMButtonUp:
      if (buttonMask_ == KeyStateMiddle) completed = Complete(keyState, MiddleClick, gesture);
      break;
    case MsgXButtonUp:
      if (buttonMask_ == KeyStateX1)
        completed = Complete(keyState, XButton1Click, gesture);
      else if (buttonMask_ == KeyStateX2)
        completed = Complete(keyState, XButton2Click, gesture);
      break;
    default: return false;
  }
  // A release clears the gesture once no button is down any more; while one stays down the
  // set stays, so rocking fires one flip per press.
  if (held == 0) buttonMask_ = 0;
  return completed;
}
