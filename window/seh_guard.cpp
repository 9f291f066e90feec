#include "window/seh_guard.h"

#include <exception>
#include <string>

#include "window/seh_frame.h"

namespace {

struct guard_frame : seh_frame {
  seh_filter filter;
};

EXCEPTION_DISPOSITION __cdecl GuardHandler(EXCEPTION_RECORD* exception, void* establisher, CONTEXT* context, void*) {
  auto* frame = static_cast<guard_frame*>(establisher);
  if (IsUnwinding(*exception)) {
    FramesAbandonedBeyond(*frame);
    return ExceptionContinueSearch;
  }
  EXCEPTION_POINTERS pointers{exception, context};
  const LONG decision = frame->filter(&pointers);
  if (decision == EXCEPTION_CONTINUE_EXECUTION) return ExceptionContinueExecution;
  if (decision != EXCEPTION_EXECUTE_HANDLER) return ExceptionContinueSearch;
  UnwindAbove(*frame, exception);
  __builtin_longjmp(frame->resume, 1);
}

struct guarded_work {
  void (*work)(void*);
  void* context;
};

// C++ exceptions unwind by their own tables, past any registered frame; one that leaves the
// work is raised again as a structured exception where the frame sees it.
void RunAndRaise(const guarded_work& guarded) {
  std::string message;
  bool failed = false;
  try {
    guarded.work(guarded.context);
  } catch (const std::exception& error) {
    failed = true;
    message = error.what();
  } catch (...) {
    failed = true;
  }
  if (!failed) return;
  const ULONG_PTR argument = reinterpret_cast<ULONG_PTR>(message.c_str());
  RaiseException(GuardedCppExceptionCode, EXCEPTION_NONCONTINUABLE, 1, &argument);
}

}  // namespace

bool RunGuarded(seh_filter filter, void (*work)(void* context), void* context) {
  guard_frame frame;
  frame.filter = filter;
  // The jump back restores only the frame and stack pointers; claiming the other registers
  // that callers keep makes this frame save them and give them back when it returns.
  asm volatile("" ::: "ebx", "esi", "edi");
  if (__builtin_setjmp(frame.resume)) {
    // Back from the handler, with the frames above this one unwound.
    PopFrame(frame);
    return false;
  }
  PushFrame(frame, reinterpret_cast<PEXCEPTION_ROUTINE>(&GuardHandler));
  RunAndRaise(guarded_work{work, context});
  PopFrame(frame);
  return true;
}
