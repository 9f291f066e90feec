// Real input for the simulated player's scripted session and the tests: the events go
// through SendInput, as a user's mouse and keyboard would.
#pragma once

#include <windows.h>

namespace input {

enum class Button { Left, Right, Middle, X1, X2 };

// Puts the pointer on pixel (x, y) of the desktop of all monitors, whose origin is the main
// monitor's top left, with an absolute move.
void MoveTo(int x, int y);
// A relative move by (dx, dy) pixels, as a mouse sends it.
void MoveBy(int dx, int dy);
void Press(Button button);
void Release(Button button);
void Click(Button button);
// One wheel event of `delta` (120 is a notch away from the user).
void Wheel(int delta);
void KeyDown(WORD key);
void KeyUp(WORD key);

// Dispatches this thread's messages for `milliseconds`.
void Pump(DWORD milliseconds);

}  // namespace input
