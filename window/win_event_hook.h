// An owning WinEvent hook: the system's accessibility events `first` to `last` of every
// process, delivered out of context to the installing thread, whose message loop runs
// `callback`. Nothing is loaded into other processes. Unhooked with this object.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

struct win_event_unhook {
  void operator()(HWINEVENTHOOK hook) const { UnhookWinEvent(hook); }
};
using win_event_hook = std::unique_ptr<std::remove_pointer_t<HWINEVENTHOOK>, win_event_unhook>;

// Null when the system refuses the hook.
inline win_event_hook HookWinEvents(DWORD first, DWORD last, WINEVENTPROC callback) {
  return win_event_hook(SetWinEventHook(first, last, nullptr, callback, 0, 0, WINEVENT_OUTOFCONTEXT));
}
