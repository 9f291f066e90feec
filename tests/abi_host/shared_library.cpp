// The host's shared.dll: the structured-exception filter that guards component pages. It
// lets the guarded code give up, so the host keeps running, and counts what it saw.
struct EXCEPTION_POINTERS;

namespace {
unsigned g_filter_calls = 0;
}

extern "C" {
__declspec(dllexport) int __cdecl uExceptFilterProc(EXCEPTION_POINTERS*) {
  ++g_filter_calls;
  return 1;  // EXCEPTION_EXECUTE_HANDLER
}

__declspec(dllexport) unsigned __cdecl filter_calls() { return g_filter_calls; }
}
