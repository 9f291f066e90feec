// Makes Wine read the monitors again. Its display driver reads the arrangement when a process
// starts; a display change asked for by a new process stores that process's arrangement for
// every process and announces it to every window with WM_DISPLAYCHANGE. The change asked for
// sets the main screen's mode again; Wine refuses that when the main screen's size changed
// (the mode is not among the ones it knew), and then the change takes another monitor off,
// which the driver, unable to change modes on the virtual display, leaves to the arrangement.
#include <windows.h>

int main() {
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  if (EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode) &&
      ChangeDisplaySettingsExW(nullptr, &mode, nullptr, CDS_FULLSCREEN, nullptr) == DISP_CHANGE_SUCCESSFUL)
    return 0;
  DISPLAY_DEVICEW device{};
  device.cb = sizeof device;
  for (DWORD i = 0; EnumDisplayDevicesW(nullptr, i, &device, 0); ++i) {
    if (device.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE) continue;
    DEVMODEW off{};
    off.dmSize = sizeof off;
    off.dmFields = DM_POSITION | DM_PELSWIDTH | DM_PELSHEIGHT;  // no width and height: off
    if (ChangeDisplaySettingsExW(device.DeviceName, &off, nullptr, CDS_FULLSCREEN, nullptr) == DISP_CHANGE_SUCCESSFUL)
      return 0;
  }
  return 2;
}
