// The toolchain has no __try/__except, so the frame is registered by hand at the head of
// the thread's exception-registration chain, and an exception the filter handles resumes
// at the guard by unwinding the frames above it and jumping back. The jump runs no C++
// destructor in the frames it leaves; the host references they held are released by hand.
#include "window/seh_guard.h"

#include <intrin.h>

#include <exception>
#include <string>

#include "host/service.h"

namespace {

struct guard_frame {
  // Must stay first: the system sees the frame as this record.
  EXCEPTION_REGISTRATION_RECORD record;
  seh_filter filter;
  void* resume[5];  // __builtin_setjmp's buffer
};

EXCEPTION_REGISTRATION_RECORD* ChainHead() {
  return reinterpret_cast<EXCEPTION_REGISTRATION_RECORD*>(__readfsdword(0));
}

void SetChainHead(EXCEPTION_REGISTRATION_RECORD* record) { __writefsdword(0, reinterpret_cast<DWORD>(record)); }

EXCEPTION_DISPOSITION __cdecl GuardHandler(EXCEPTION_RECORD* exception, void* establisher, CONTEXT* context, void*) {
  if (exception->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) return ExceptionContinueSearch;
  auto* frame = static_cast<guard_frame*>(establisher);
  EXCEPTION_POINTERS pointers{exception, context};
  const LONG decision = frame->filter(&pointers);
  if (decision == EXCEPTION_CONTINUE_EXECUTION) return ExceptionContinueExecution;
  if (decision != EXCEPTION_EXECUTE_HANDLER) return ExceptionContinueSearch;
  RtlUnwind(&frame->record, nullptr, exception, nullptr);
  // The frames between this handler and the guard are abandoned without their destructors:
  // the host references their handles held go back now, while the frames are still intact.
  const char handlerFrame = 0;
  service_handle_link::release_abandoned(&handlerFrame, frame);
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
  // Read again after the jump back, which restores no registers but the frame's.
  EXCEPTION_REGISTRATION_RECORD* volatile previous = ChainHead();
  frame.filter = filter;
  frame.record.Handler = reinterpret_cast<PEXCEPTION_ROUTINE>(&GuardHandler);
  frame.record.Next = previous;
  // The jump back restores only the frame and stack pointers; claiming the other registers
  // that callers keep makes this frame save them and give them back when it returns.
  asm volatile("" ::: "ebx", "esi", "edi");
  if (__builtin_setjmp(frame.resume)) {
    // Back from the handler, with the frames above this one unwound.
    SetChainHead(previous);
    return false;
  }
  SetChainHead(&frame.record);
  RunAndRaise(guarded_work{work, context});
  SetChainHead(frame.record.Next);
  return true;
}
