#include "host/boundary/seh_guard.h"

#include "host/boundary/seh_frame.h"

namespace {

struct guard_frame : seh_frame {
  seh_filter filter;
};

EXCEPTION_DISPOSITION GuardHandler(EXCEPTION_RECORD& exception, seh_frame& base, CONTEXT& context, void* dispatch) {
  auto& frame = static_cast<guard_frame&>(base);
  if (IsUnwinding(exception)) {
    FramesAbandonedBeyond(frame);
    return ExceptionContinueSearch;
  }
  EXCEPTION_POINTERS pointers{&exception, &context};
  const LONG decision = frame.filter(&pointers);
  if (decision == EXCEPTION_CONTINUE_EXECUTION) return ExceptionContinueExecution;
  if (decision != EXCEPTION_EXECUTE_HANDLER) return ExceptionContinueSearch;
  ExceptionHandled(exception);
  ResumeAfter(frame, exception, context, dispatch);
}

}  // namespace

bool RunGuarded(seh_filter filter, void (*work)(void* context) noexcept, void* context) {
  guard_frame frame;
  frame.handler = &GuardHandler;
  frame.filter = filter;
  return RunInFrame(frame, work, context);
}
