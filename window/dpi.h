// Per-monitor pixel density for the component's own top-level windows, in a host that may
// not be aware of it. The system's functions for it are looked up at run time: a system
// without them draws every window at 96 dpi, and so do these windows.
#pragma once

#include <windows.h>

// The dots per inch of the monitor `window` is on; 0 where the system cannot tell.
UINT WindowDpi(HWND window);

// While it lives, the windows this thread creates are aware of their monitor's density, and
// the thread measures in that monitor's pixels; the thread's previous awareness comes back
// with its end.
class per_monitor_dpi_scope {
 public:
  per_monitor_dpi_scope();
  ~per_monitor_dpi_scope();
  per_monitor_dpi_scope(const per_monitor_dpi_scope&) = delete;
  per_monitor_dpi_scope& operator=(const per_monitor_dpi_scope&) = delete;

 private:
  HANDLE previous_;  // null where the awareness could not be set
};
