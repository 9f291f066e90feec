// shared.dll of the simulated player. Its exception filter, like a player's, notes the
// failure and lets the guarded code give up, so the player keeps running.
#include <windows.h>

namespace {
int g_decision = EXCEPTION_EXECUTE_HANDLER;
unsigned g_count = 0;
DWORD g_last_code = 0;
}  // namespace

extern "C" {

__declspec(dllexport) int __cdecl uExceptFilterProc(EXCEPTION_POINTERS* exception) {
  ++g_count;
  g_last_code = exception && exception->ExceptionRecord ? exception->ExceptionRecord->ExceptionCode : 0;
  return g_decision;
}

__declspec(dllexport) void __cdecl shared_set_filter_decision(int decision) { g_decision = decision; }
__declspec(dllexport) unsigned __cdecl shared_filtered_count() { return g_count; }
__declspec(dllexport) DWORD __cdecl shared_last_filtered_code() { return g_last_code; }
}
