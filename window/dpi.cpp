#include "window/dpi.h"

#include <atomic>
#include <cstdint>

namespace {
// A user32 function, looked up on first use and kept: the full-screen watch sets the awareness
// for every event it follows. The slot holds 0 before the look-up and Missing where the system
// has no such function; threads that look it up at once find the same answer.
using function_slot = std::atomic<uintptr_t>;
constexpr uintptr_t Missing = 1;

function_slot g_get_dpi_for_window{0};
function_slot g_set_thread_awareness{0};

template <class Function>
Function User32Function(function_slot& slot, const char* name) {
  uintptr_t found = slot.load(std::memory_order_relaxed);
  if (found == 0) {
    found = reinterpret_cast<uintptr_t>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name));
    if (found == 0) found = Missing;
    slot.store(found, std::memory_order_relaxed);
  }
  return found == Missing ? nullptr : reinterpret_cast<Function>(found);
}

// The system's per-monitor awareness context (DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE).
const HANDLE PerMonitorAware = HANDLE(-3);

HANDLE SetThreadAwareness(HANDLE context) {
  const auto set = User32Function<HANDLE(WINAPI*)(HANDLE)>(g_set_thread_awareness, "SetThreadDpiAwarenessContext");
  return set ? set(context) : nullptr;
}
}  // namespace

UINT WindowDpi(HWND window) {
  const auto get = User32Function<UINT(WINAPI*)(HWND)>(g_get_dpi_for_window, "GetDpiForWindow");
  return get ? get(window) : 0;
}

per_monitor_dpi_scope::per_monitor_dpi_scope() : previous_(SetThreadAwareness(PerMonitorAware)) {}

per_monitor_dpi_scope::~per_monitor_dpi_scope() {
  if (previous_) SetThreadAwareness(previous_);
}
