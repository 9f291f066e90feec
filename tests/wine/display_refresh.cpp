// Makes Wine read the monitors again. Its display driver reads the arrangement when a process
// starts; setting the display mode again from a new process stores that process's arrangement
// for every process and announces it to every window with WM_DISPLAYCHANGE.
#include <windows.h>

int main() {
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return 1;
  return ChangeDisplaySettingsExW(nullptr, &mode, nullptr, CDS_FULLSCREEN, nullptr) == DISP_CHANGE_SUCCESSFUL ? 0 : 2;
}
