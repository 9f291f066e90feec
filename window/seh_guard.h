// A structured-exception frame around a piece of work, with a filter that decides, as an
// __except filter would, whether an exception inside ends the work.
#pragma once

#include <windows.h>

#include <cstdint>

// The code under which a C++ exception that leaves guarded work is raised to the filter;
// its one argument is the exception's message (a narrow text).
constexpr DWORD GuardedCppExceptionCode = 0xE04D4F58;

using seh_filter = LONG (*)(EXCEPTION_POINTERS* exception);

// Runs `work(context)`. A hardware fault inside, or a C++ exception leaving it, goes to
// `filter`: EXCEPTION_EXECUTE_HANDLER ends the work and answers false;
// EXCEPTION_CONTINUE_SEARCH passes the exception on to the handlers outside;
// EXCEPTION_CONTINUE_EXECUTION resumes a continuable fault. Answers true when the work ran
// to its end.
bool RunGuarded(seh_filter filter, void (*work)(void* context), void* context);
