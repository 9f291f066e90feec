#include "host/boundary/seh_frame.h"

#include <intrin.h>

#include <algorithm>

namespace {

abandoned_frames_hook g_abandoned_frames_hook = nullptr;
handled_exception_hook g_handled_exception_hook = nullptr;

// Tells the hook of the abandoned frames in [low, high), kept to this thread's stack: the
// bounds that frames give are rough.
void Abandoned(const void* low, const void* high) {
  if (!g_abandoned_frames_hook) return;
  // The thread's NT_TIB: StackBase one word in, StackLimit two.
  const char* stack_high;
  const char* stack_low;
#ifdef _WIN64
  asm("movq %%gs:8, %0" : "=r"(stack_high));
  asm("movq %%gs:16, %0" : "=r"(stack_low));
#else
  asm("movl %%fs:4, %0" : "=r"(stack_high));
  asm("movl %%fs:8, %0" : "=r"(stack_low));
#endif
  g_abandoned_frames_hook(std::max(static_cast<const char*>(low), stack_low),
                          std::min(static_cast<const char*>(high), stack_high));
}

}  // namespace

#ifdef _WIN64

// The frame: a function whose unwind information names seh_frame_dispatch as its handler. It
// keeps the seh_frame's address in its first argument's home slot, 48 bytes above its stack
// pointer, which is the frame's establisher frame; a handler that takes an exception over
// resumes it at seh_run_in_frame_resumed.
extern "C" bool seh_run_in_frame(seh_frame* frame, void (*work)(void* context), void* context);
extern "C" char seh_run_in_frame_resumed[];
asm(R"(
  .text
  .p2align 4
  .globl seh_run_in_frame
  .def seh_run_in_frame; .scl 2; .type 32; .endef
  .seh_proc seh_run_in_frame
seh_run_in_frame:
  subq $40, %rsp
  .seh_stackalloc 40
  .seh_endprologue
  .seh_handler seh_frame_dispatch, @except, @unwind
  movq %rcx, 48(%rsp)
  movq %r8, %rcx
  callq *%rdx
  movl $1, %eax
  addq $40, %rsp
  ret
  .globl seh_run_in_frame_resumed
seh_run_in_frame_resumed:
  xorl %eax, %eax
  addq $40, %rsp
  ret
  .seh_endproc
)");

namespace {
// The exceptions of this module's C++ runtime (thrown, unwinding, forced): they pass every
// frame of ours by, as they do on 32-bit, where they never reach one.
bool IsOwnRuntimeException(DWORD code) { return (code & 0x00FFFFFF) == 0x474343 && code - 0x20474343 <= 0x02000000; }
}  // namespace

extern "C" EXCEPTION_DISPOSITION seh_frame_dispatch(EXCEPTION_RECORD* exception, void* establisher, CONTEXT* context,
                                                    DISPATCHER_CONTEXT* dispatch) {
  if (IsOwnRuntimeException(exception->ExceptionCode)) return ExceptionContinueSearch;
  // The frame's own handler took the exception over, and the unwinding has reached it.
  if (exception->ExceptionFlags & EXCEPTION_TARGET_UNWIND) return ExceptionContinueSearch;
  auto& frame = **reinterpret_cast<seh_frame**>(static_cast<char*>(establisher) + 48);
  frame.outer = establisher;
  return frame.handler(*exception, frame, *context, dispatch);
}

bool RunInFrame(seh_frame& frame, void (*work)(void* context), void* context) {
  return seh_run_in_frame(&frame, work, context);
}

void ResumeAfter(seh_frame& frame, EXCEPTION_RECORD& exception, CONTEXT& context, void* dispatch) {
  // Told first: unwinding never comes back here.
  const char handler_frame = 0;
  Abandoned(&handler_frame, frame.outer);
  RtlUnwindEx(const_cast<void*>(frame.outer), seh_run_in_frame_resumed, &exception, nullptr, &context,
              static_cast<DISPATCHER_CONTEXT*>(dispatch)->HistoryTable);
  __builtin_unreachable();
}

#else

namespace {

EXCEPTION_DISPOSITION __cdecl FrameHandler(EXCEPTION_RECORD* exception, void* establisher, CONTEXT* context,
                                           void* dispatch) {
  auto& frame = *static_cast<seh_frame*>(establisher);
  return frame.handler(*exception, frame, *context, dispatch);
}

void PushFrame(seh_frame& frame) {
  frame.record.Handler = reinterpret_cast<PEXCEPTION_ROUTINE>(&FrameHandler);
  frame.record.Next = reinterpret_cast<EXCEPTION_REGISTRATION_RECORD*>(__readfsdword(0));
  frame.outer = frame.record.Next;
  __writefsdword(0, reinterpret_cast<DWORD>(&frame.record));
}

void PopFrame(const seh_frame& frame) {
  // Read from memory: after a jump back, no register holds anything of the frame.
  __writefsdword(0, reinterpret_cast<DWORD>(static_cast<const volatile seh_frame&>(frame).record.Next));
}

}  // namespace

bool RunInFrame(seh_frame& frame, void (*work)(void* context), void* context) {
  // The jump back restores only the frame and stack pointers; claiming the other registers
  // that callers keep makes this frame save them, so that its return and its unwinding
  // give callers theirs back.
  asm volatile("" ::: "ebx", "esi", "edi");
  if (__builtin_setjmp(frame.resume)) {
    // Back from the handler, with the frames above this one unwound.
    PopFrame(frame);
    return false;
  }
  PushFrame(frame);
  try {
    work(context);
  } catch (...) {
    // A C++ exception of this module's own, from work that never left it.
    PopFrame(frame);
    throw;
  }
  PopFrame(frame);
  return true;
}

void ResumeAfter(seh_frame& frame, EXCEPTION_RECORD& exception, CONTEXT&, void*) {
  RtlUnwind(&frame.record, nullptr, &exception, nullptr);
  const char handler_frame = 0;
  Abandoned(&handler_frame, &frame);
  __builtin_longjmp(frame.resume, 1);
}

#endif

void FramesAbandonedBeyond(const seh_frame& frame) {
  const char handler_frame = 0;
  Abandoned(&handler_frame, frame.outer);
}

void ExceptionHandled(const EXCEPTION_RECORD& exception) {
  if (g_handled_exception_hook) g_handled_exception_hook(exception);
}

void SetFrameHooks(abandoned_frames_hook abandoned, handled_exception_hook handled) {
  g_abandoned_frames_hook = abandoned;
  g_handled_exception_hook = handled;
}
