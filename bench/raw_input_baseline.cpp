// The raw-input benchmark's baseline in a library of its own, as the component is one: a
// window procedure that only reads the event.
#include <windows.h>

extern "C" __declspec(dllexport) LRESULT CALLBACK
    ReadOnlyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INPUT) {
    RAWINPUT raw;
    UINT size = sizeof raw;
    GetRawInputData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, &raw, &size, sizeof(RAWINPUTHEADER));
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
