#include "host/boundary/seh_guard.h"

#include "host/boundary/seh_frame.h"

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
  ExceptionHandled(*exception);
  __builtin_longjmp(frame->resume, 1);
}

}  // namespace

bool RunGuarded(seh_filter filter, void (*work)(void* context) noexcept, void* context) {
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
  work(context);
  PopFrame(frame);
  return true;
}
