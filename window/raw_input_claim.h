// The process's raw-input registration of one kind of device, taken over for a window and
// given back as it was. The system keeps one registration per kind for the whole process, so
// the window that held it before would lose its events: while the claim holds, each event is
// passed on to that window as the system would have sent it there. An event's handle is read
// on the thread whose message carried it, while that message is handled (Wine keeps only that
// thread's last event), so only a window of the claiming thread can be given the event.
#pragma once

#include <windows.h>

class raw_input_claim {
 public:
  raw_input_claim() = default;
  ~raw_input_claim() { GiveBack(); }
  raw_input_claim(const raw_input_claim&) = delete;
  raw_input_claim& operator=(const raw_input_claim&) = delete;

  // Registers `window`, of this thread, for usage `page` and `usage` with `flags`, after
  // reading what the process had registered for them.
  void Take(HWND window, USHORT page, USHORT usage, DWORD flags);
  // Gives the process back what it had before Take: the earlier target with its flags, or no
  // registration when there was none or its window is gone. A registration that replaced the
  // claim's since stays.
  void GiveBack();

  // Passes on a WM_INPUT of the claiming window, within its handling, to the window that held
  // the registration before; no more than a test when there is none.
  void Forward(WPARAM code, HRAWINPUT input) const {
    if (forwards_) PassOn(code, input);
  }

 private:
  void PassOn(WPARAM code, HRAWINPUT input) const;

  HWND holder_ = nullptr;  // the claiming window, while the claim holds
  RAWINPUTDEVICE back_{};  // what GiveBack registers
  bool forwards_ = false;  // whether an earlier target of this thread gets the events
};
