// The simulated player's shared library: the structured-exception filter that guards
// component pages, with the controls tests use to decide and observe it.
#pragma once

#include <windows.h>

extern "C" {
// What the filter answers from now on (EXCEPTION_EXECUTE_HANDLER at first).
__declspec(dllimport) void __cdecl shared_set_filter_decision(int decision);
// How many exceptions the filter has seen, and the code of the last one.
__declspec(dllimport) unsigned __cdecl shared_filtered_count();
__declspec(dllimport) DWORD __cdecl shared_last_filtered_code();
// The decorated class name of the last one, when it was a C++ exception; "" otherwise.
__declspec(dllimport) const char* __cdecl shared_last_filtered_type();
}
