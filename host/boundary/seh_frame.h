// Structured-exception frames of this module's own, with a handler each: the toolchain has no
// __try/__except. A 32-bit frame is registered by hand at the head of the thread's
// exception-registration chain; an x64 frame is that of a small function whose unwind
// information names the handler, since x64 code finds handlers through the system's unwind
// tables. A handler that takes an exception over unwinds the frames above its own and
// resumes where the frame began. Frames abandoned that way, or by a handler further out, run
// none of their C++ destructors (this module's C++ exceptions pass every frame by, as they
// pass the other side's); a hook hears of them while they are still intact.
#pragma once

#include <windows.h>

struct seh_frame;

// A frame's handler, called for every exception that the frames above the frame raise and
// for every unwinding of them by a handler further out. `dispatch` is the system's own
// context of the call, which ResumeAfter passes back.
using seh_frame_handler = EXCEPTION_DISPOSITION (*)(EXCEPTION_RECORD& exception, seh_frame& frame, CONTEXT& context,
                                                    void* dispatch);

struct seh_frame {
#ifndef _WIN64
  // Must stay first: the system sees the frame as this record.
  EXCEPTION_REGISTRATION_RECORD record;
  void* resume[5];  // __builtin_setjmp's buffer
#endif
  seh_frame_handler handler;
  // Where the frames that the frame holds end on the stack: the registration before it, or
  // the frame of the function that holds it on x64 (set while its handler runs).
  const void* outer;
};

// Runs `work(context)` inside `frame`, whose handler hears of its exceptions. Answers true
// when the work returns, false when the handler took an exception over (ResumeAfter). A
// C++ exception of this module's leaves through the frame as from any call.
bool RunInFrame(seh_frame& frame, void (*work)(void* context), void* context);

// Whether a handler is called because a handler further out unwinds the frames.
inline bool IsUnwinding(const EXCEPTION_RECORD& exception) {
  return (exception.ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) != 0;
}

// Called from a frame's handler while a handler further out unwinds: every frame of this
// thread's stack from the caller's up to where `frame` ends is abandoned.
void FramesAbandonedBeyond(const seh_frame& frame);

// Called from a frame's handler that takes `exception` over: unwinds the frames above the
// frame, which are abandoned, and resumes in RunInFrame, which answers false.
[[noreturn]] void ResumeAfter(seh_frame& frame, EXCEPTION_RECORD& exception, CONTEXT& context, void* dispatch);

// Called once a handler has taken `exception` over, before it resumes: the exception ends
// there, as it would at the end of a catch block.
void ExceptionHandled(const EXCEPTION_RECORD& exception);

// The hooks of the side that knows what the frames and exceptions hold: it hears of the
// abandoned frames that lie in [low, high) of this thread's stack, and of every exception
// that a handler ended.
using abandoned_frames_hook = void (*)(const void* low, const void* high);
using handled_exception_hook = void (*)(const EXCEPTION_RECORD& exception);
void SetFrameHooks(abandoned_frames_hook abandoned, handled_exception_hook handled);
