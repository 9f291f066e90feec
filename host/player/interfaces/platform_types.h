// Win32 handle types that cross the host boundary, declared opaquely where Win32 is absent
// so that the window-free code builds natively.
#pragma once

#ifdef _WIN32
#include <windef.h>
#else
struct HWND__;
typedef HWND__* HWND;
#endif
