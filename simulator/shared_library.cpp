// shared.dll of the simulated player. Its exception filter, like a player's, notes the
// failure and lets the guarded code give up, so the player keeps running.
#include <windows.h>

#include <cstring>

namespace {
int g_decision = EXCEPTION_EXECUTE_HANDLER;
unsigned g_count = 0;
DWORD g_last_code = 0;
char g_last_type[64] = "";

// A link from one record of a C++ exception to another: a pointer in 32-bit code, an offset
// from the raising module's image base (the record's fourth argument) in x64 code; 4 bytes
// either way.
const char* Linked(const EXCEPTION_RECORD& record, const char* link) {
#ifdef _WIN64
  return reinterpret_cast<const char*>(record.ExceptionInformation[3] + *reinterpret_cast<const int*>(link));
#else
  (void)record;
  return *reinterpret_cast<const char* const*>(link);
#endif
}

// The decorated name of a C++ exception's most derived class: the record's third argument
// is its exception type, {attributes, destructor, forward, catchable types}, whose first
// catchable type, after their count, is {properties, type descriptor, ...}, whose name
// follows two pointers.
void NoteType(const EXCEPTION_RECORD& record) {
  g_last_type[0] = 0;
  const DWORD arguments = sizeof(void*) == 8 ? 4 : 3;
  if (record.ExceptionCode != 0xE06D7363 || record.NumberParameters < arguments || !record.ExceptionInformation[2])
    return;
  const char* type = reinterpret_cast<const char*>(record.ExceptionInformation[2]);
  const char* catchables = Linked(record, type + 12);
  const char* first = Linked(record, catchables + 4);
  const char* name = Linked(record, first + 4) + 2 * sizeof(void*);
  std::strncpy(g_last_type, name, sizeof g_last_type - 1);
}
}  // namespace

extern "C" {

__declspec(dllexport) int __cdecl uExceptFilterProc(EXCEPTION_POINTERS* exception) {
  ++g_count;
  g_last_code = exception && exception->ExceptionRecord ? exception->ExceptionRecord->ExceptionCode : 0;
  if (g_last_code) NoteType(*exception->ExceptionRecord);
  return g_decision;
}

__declspec(dllexport) void __cdecl shared_set_filter_decision(int decision) { g_decision = decision; }
__declspec(dllexport) unsigned __cdecl shared_filtered_count() { return g_count; }
__declspec(dllexport) DWORD __cdecl shared_last_filtered_code() { return g_last_code; }
__declspec(dllexport) const char* __cdecl shared_last_filtered_type() { return g_last_type; }
}
