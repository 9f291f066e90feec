// The host's shared library: its structured-exception filter guards the preferences page.
#pragma once

#include <windows.h>

extern "C" __declspec(dllimport) int __cdecl uExceptFilterProc(EXCEPTION_POINTERS* exception);
