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

// The longest a test waits for what it expects. Only a wait that would never succeed runs
// this long, even in an emulated machine many times slower than a desktop with every core busy.
constexpr DWORD LongestWait = 30000;

// Peeks at this thread's queue, which delivers the messages sent to the thread and the
// events of its hooks, and dispatches the first message waiting there; when none waits,
// waits at most `milliseconds` for one to come.
void DispatchOneOrWait(DWORD milliseconds);

// Dispatches this thread's messages, one at a time, until `condition()` holds, at most
// `timeout` milliseconds, and answers its last value: a bool, or anything that tests as one,
// such as an assertion result that tells what was seen. The queue is looked at before the
// first test, so a condition that must stay as it was also sees what was delivered by then;
// no message after the one that made it hold is dispatched.
template <class Condition>
[[nodiscard]] auto PumpUntil(Condition condition, DWORD timeout = LongestWait) {
  const DWORD start = GetTickCount();
  DispatchOneOrWait(0);
  auto result = condition();
  while (!result && GetTickCount() - start < timeout) {
    DispatchOneOrWait(10);
    result = condition();
  }
  return result;
}

// Dispatches messages until this thread's queue holds no input. The system queues input for
// the thread whose window it goes to as it is sent, and hands it out before paints and
// timers: the input sent before the call has then been handled, ahead of the paint or timer
// that waited behind it.
[[nodiscard]] bool PumpUntilInputHandled();

// A timer of this thread that falls due `milliseconds` after it is made. The thread's timers
// fire in the order they fall due, the system's own included, so once it has fired every
// timer due before it has fired too, however slow the machine, and none due after it.
class marker_timer {
 public:
  explicit marker_timer(UINT milliseconds);
  ~marker_timer();
  marker_timer(const marker_timer&) = delete;
  marker_timer& operator=(const marker_timer&) = delete;

  // Dispatches this thread's messages until the timer fires; answers whether it fired.
  [[nodiscard]] bool PumpUntilFired();

 private:
  UINT milliseconds_;
  UINT_PTR id_;
};

}  // namespace input
