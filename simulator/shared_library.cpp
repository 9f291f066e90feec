// shared.dll of the simulated player. Its exception filter, like a player's, notes the
// failure and lets the guarded code give up, so the player keeps running.
#include <windows.h>

#include <cstring>

namespace {
int g_decision = EXCEPTION_EXECUTE_HANDLER;
unsigned g_count = 0;
DWORD g_last_code = 0;
char g_last_type[64] = "";

// The decorated name of a C++ exception's most derived class: the record's third argument
// is its exception type, {attributes, destructor, forward, catchable types}, whose first
// catchable type is {properties, type descriptor, ...}, whose name follows two pointers.
void NoteType(const EXCEPTION_RECORD& record) {
  g_last_type[0] = 0;
  if (record.ExceptionCode != 0xE06D7363 || record.NumberParameters < 3 || !record.ExceptionInformation[2]) return;
  const auto* type = reinterpret_cast<void* const*>(record.ExceptionInformation[2]);
  const auto* catchables = static_cast<const int*>(type[3]);
  const auto* first = *reinterpret_cast<void* const* const*>(catchables + 1);
  const char* name = static_cast<const char*>(first[1]) + 2 * sizeof(void*);
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
