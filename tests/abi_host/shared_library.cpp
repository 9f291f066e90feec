// The host's shared.dll: the structured-exception filter that guards component pages. It
// lets the guarded code give up, so the host keeps running, and notes what it saw.
#include "platform.h"

namespace {
unsigned g_filter_calls = 0;
char g_last_type[64] = "";

// The decorated class name of a C++ exception's object, read from the host's own layout.
void NoteType(const EXCEPTION_RECORD& record) {
  g_last_type[0] = 0;
  if (record.ExceptionCode != CppExceptionCode || record.NumberParameters < CppThrowParameters) return;
  const char* name =
      MostDerivedTypeName(reinterpret_cast<const throw_info*>(record.ExceptionInformation[2]), ThrowImageBase(record));
  unsigned at = 0;
  for (; name[at] && at + 1 < sizeof g_last_type; ++at) g_last_type[at] = name[at];
  g_last_type[at] = 0;
}
}  // namespace

extern "C" {
__declspec(dllexport) int __cdecl uExceptFilterProc(EXCEPTION_POINTERS* exception) {
  ++g_filter_calls;
  if (exception && exception->ExceptionRecord) NoteType(*exception->ExceptionRecord);
  return 1;  // EXCEPTION_EXECUTE_HANDLER
}

__declspec(dllexport) unsigned __cdecl filter_calls() { return g_filter_calls; }
__declspec(dllexport) const char* __cdecl last_filtered_type() { return g_last_type; }
}
