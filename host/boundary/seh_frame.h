// Structured-exception frames registered by hand at the head of the thread's
// exception-registration chain: the toolchain has no __try/__except. A handler that takes an
// exception over unwinds the frames above its own and resumes in the function that registered
// it, through a __builtin_setjmp buffer. Frames abandoned that way, or by a handler further
// out, run none of their C++ destructors; a hook hears of them while they are still intact.
#pragma once

#include <windows.h>

struct seh_frame {
  // Must stay first: the system sees the frame as this record.
  EXCEPTION_REGISTRATION_RECORD record;
  void* resume[5];  // __builtin_setjmp's buffer
};

// Registers `frame` at the head of the chain, with `handler`.
void PushFrame(seh_frame& frame, PEXCEPTION_ROUTINE handler);
// Makes the frame registered before `frame` the head again.
void PopFrame(const seh_frame& frame);

// Whether a handler is called because a handler further out unwinds the frames.
inline bool IsUnwinding(const EXCEPTION_RECORD& exception) {
  return (exception.ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) != 0;
}

// Called from a frame's handler while a handler further out unwinds: every frame of this
// thread's stack from the caller's up to the frame registered before `frame` is abandoned.
void FramesAbandonedBeyond(const seh_frame& frame);

// Unwinds the frames above `frame`, which are abandoned; the handler then resumes with
// __builtin_longjmp(frame.resume, 1).
void UnwindAbove(seh_frame& frame, EXCEPTION_RECORD* exception);

// Called once a handler has taken `exception` over and unwound the frames above it: the
// exception ends there, as it would at the end of a catch block.
void ExceptionHandled(const EXCEPTION_RECORD& exception);

// The hooks of the side that knows what the frames and exceptions hold: it hears of the
// abandoned frames that lie in [low, high) of this thread's stack, and of every exception
// that a handler ended.
using abandoned_frames_hook = void (*)(const void* low, const void* high);
using handled_exception_hook = void (*)(const EXCEPTION_RECORD& exception);
void SetFrameHooks(abandoned_frames_hook abandoned, handled_exception_hook handled);
