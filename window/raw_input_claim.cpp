#include "window/raw_input_claim.h"

#include <utility>
#include <vector>

namespace {

// The process's registration for `page` and `usage`, or their removal when there is none.
RAWINPUTDEVICE Registered(USHORT page, USHORT usage) {
  std::vector<RAWINPUTDEVICE> devices;
  UINT count = 0, read = 0;
  // Another thread may register between the two calls.
  do {
    GetRegisteredRawInputDevices(nullptr, &count, sizeof(RAWINPUTDEVICE));
    devices.resize(count);
    read = count ? GetRegisteredRawInputDevices(devices.data(), &count, sizeof(RAWINPUTDEVICE)) : 0;
  } while (read == UINT(-1) && GetLastError() == ERROR_INSUFFICIENT_BUFFER);
  devices.resize(read == UINT(-1) ? 0 : read);
  for (const RAWINPUTDEVICE& device : devices)
    if (device.usUsagePage == page && device.usUsage == usage) return device;
  return {page, usage, RIDEV_REMOVE, nullptr};
}

bool OnThisThread(HWND window) { return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId(); }

}  // namespace

void raw_input_claim::Take(HWND window, USHORT page, USHORT usage, DWORD flags) {
  back_ = Registered(page, usage);
  const RAWINPUTDEVICE claim{page, usage, flags, window};
  if (!RegisterRawInputDevices(&claim, 1, sizeof claim)) return;
  holder_ = window;
  // A window of another thread could not read the events. Without a window the events went
  // to the keyboard focus, which PassOn follows.
  forwards_ = !(back_.dwFlags & RIDEV_REMOVE) && (!back_.hwndTarget || OnThisThread(back_.hwndTarget));
}

void raw_input_claim::GiveBack() {
  const HWND holder = std::exchange(holder_, nullptr);
  forwards_ = false;
  if (!holder || Registered(back_.usUsagePage, back_.usUsage).hwndTarget != holder) return;
  // A window that is gone would receive nothing.
  if (back_.hwndTarget && !IsWindow(back_.hwndTarget))
    back_ = {back_.usUsagePage, back_.usUsage, RIDEV_REMOVE, nullptr};
  RegisterRawInputDevices(&back_, 1, sizeof back_);
}

void raw_input_claim::PassOn(WPARAM code, HRAWINPUT input) const {
  // Only a registration for the background received the events that came while another
  // program was in front.
  if (code == RIM_INPUTSINK && !(back_.dwFlags & (RIDEV_INPUTSINK | RIDEV_EXINPUTSINK))) return;
  const HWND target = back_.hwndTarget ? back_.hwndTarget : GetFocus();
  if (target && OnThisThread(target)) SendMessageW(target, WM_INPUT, code, LPARAM(input));
}
