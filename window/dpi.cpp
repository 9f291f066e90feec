#include "window/dpi.h"

namespace {
// Looked up on each use: the calls are rare (creation, a change of corner or density).
FARPROC User32Function(const char* name) { return GetProcAddress(GetModuleHandleW(L"user32.dll"), name); }

// The system's per-monitor awareness context (DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE).
const HANDLE PerMonitorAware = HANDLE(-3);

HANDLE SetThreadAwareness(HANDLE context) {
  const FARPROC set = User32Function("SetThreadDpiAwarenessContext");
  return set ? reinterpret_cast<HANDLE(WINAPI*)(HANDLE)>(reinterpret_cast<void*>(set))(context) : nullptr;
}
}  // namespace

UINT WindowDpi(HWND window) {
  const FARPROC get = User32Function("GetDpiForWindow");
  return get ? reinterpret_cast<UINT(WINAPI*)(HWND)>(reinterpret_cast<void*>(get))(window) : 0;
}

per_monitor_dpi_scope::per_monitor_dpi_scope() : previous_(SetThreadAwareness(PerMonitorAware)) {}

per_monitor_dpi_scope::~per_monitor_dpi_scope() {
  if (previous_) SetThreadAwareness(previous_);
}
