#include "host/boundary/seh_frame.h"

#include <intrin.h>

#include <algorithm>

namespace {

abandoned_frames_hook g_abandoned_frames_hook = nullptr;
handled_exception_hook g_handled_exception_hook = nullptr;

EXCEPTION_REGISTRATION_RECORD* ChainHead() {
  return reinterpret_cast<EXCEPTION_REGISTRATION_RECORD*>(__readfsdword(0));
}

// Tells the hook of the abandoned frames in [low, high), kept to this thread's stack: the
// chain's end marker and the caller's frames bound the range only roughly.
void Abandoned(const void* low, const void* high) {
  if (!g_abandoned_frames_hook) return;
  // The thread's NT_TIB: StackBase at fs:4, StackLimit at fs:8.
  const char* stackHigh;
  const char* stackLow;
  asm("movl %%fs:4, %0" : "=r"(stackHigh));
  asm("movl %%fs:8, %0" : "=r"(stackLow));
  g_abandoned_frames_hook(std::max(static_cast<const char*>(low), stackLow),
                          std::min(static_cast<const char*>(high), stackHigh));
}

}  // namespace

void PushFrame(seh_frame& frame, PEXCEPTION_ROUTINE handler) {
  frame.record.Handler = handler;
  frame.record.Next = ChainHead();
  __writefsdword(0, reinterpret_cast<DWORD>(&frame.record));
}

void PopFrame(const seh_frame& frame) {
  // Read from memory: after a jump back, no register holds anything of the frame.
  __writefsdword(0, reinterpret_cast<DWORD>(static_cast<const volatile seh_frame&>(frame).record.Next));
}

void FramesAbandonedBeyond(const seh_frame& frame) {
  const char handlerFrame = 0;
  Abandoned(&handlerFrame, frame.record.Next);
}

void UnwindAbove(seh_frame& frame, EXCEPTION_RECORD* exception) {
  RtlUnwind(&frame.record, nullptr, exception, nullptr);
  const char handlerFrame = 0;
  Abandoned(&handlerFrame, &frame);
}

void ExceptionHandled(const EXCEPTION_RECORD& exception) {
  if (g_handled_exception_hook) g_handled_exception_hook(exception);
}

void SetFrameHooks(abandoned_frames_hook abandoned, handled_exception_hook handled) {
  g_abandoned_frames_hook = abandoned;
  g_handled_exception_hook = handled;
}
