// A structured-exception frame around a piece of work, with a filter that decides, as an
// __except filter would, whether an exception inside ends the work.
#pragma once

#include <windows.h>

using seh_filter = LONG (*)(EXCEPTION_POINTERS* exception);

// Runs `work(context)`, which raises its failures as structured exceptions: C++ exceptions
// unwind by their own tables, past any registered frame. A structured exception inside goes
// to `filter`: EXCEPTION_EXECUTE_HANDLER ends the work, and the exception with it, and
// answers false; EXCEPTION_CONTINUE_SEARCH passes the exception on to the handlers outside;
// EXCEPTION_CONTINUE_EXECUTION resumes a continuable fault. Answers true when the work ran
// to its end.
bool RunGuarded(seh_filter filter, void (*work)(void* context) noexcept, void* context);
