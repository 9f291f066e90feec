// The gates: the frames and handlers that take the other side's C++ exceptions over, and the
// raising of this module's failures across. The records they read and write are those of
// host/cxx_abi.h; catch clauses match by decorated class name, so this module's own records
// are as good as the other side's.
#include "host/boundary/boundary.h"

#include <windows.h>

#include <cstdlib>
#include <exception>

#include "host/boundary/cxx_abi.h"
#include "host/boundary/cxx_objects.h"
#include "host/boundary/exception_families.h"
#include "host/boundary/interned_text.h"
#include "host/boundary/handle_link.h"
#include "host/boundary/seh_frame.h"

namespace boundary {
namespace {

using namespace cxx_abi;

struct call_frame : seh_frame {
  foreign_object* taken;
  // Set while the other side's copy constructor or what() runs: an exception of theirs there
  // passes this frame by, to the handlers outside.
  bool taking_over;
};

EXCEPTION_DISPOSITION __cdecl TakeOverHandler(EXCEPTION_RECORD* record, void* establisher, CONTEXT*, void*) {
  auto* frame = static_cast<call_frame*>(establisher);
  if (IsUnwinding(*record)) {
    FramesAbandonedBeyond(*frame);
    if (frame->taking_over) std::free(frame->taken);
    return ExceptionContinueSearch;
  }
  // Faults and other structured exceptions are the outer handlers' to decide.
  if (frame->taking_over || !IsCxxException(*record)) return ExceptionContinueSearch;
  const EXCEPTION_RECORD* thrown_record = record->ExceptionInformation[2] ? record : RethrownException();
  if (!thrown_record) return ExceptionContinueSearch;
  const auto& type = *reinterpret_cast<const cxx_exception_type*>(thrown_record->ExceptionInformation[2]);
  void* thrown = reinterpret_cast<void*>(thrown_record->ExceptionInformation[1]);
  frame->taken = RoomFor(type);
  if (!frame->taken) return ExceptionContinueSearch;
  frame->taking_over = true;
  TakeOver(*frame->taken, thrown);
  frame->taking_over = false;
  UnwindAbove(*frame, record);
  // As the platform's runtime does once its handler is done: the frames above are unwound,
  // and the thrown object, still on the stack, is destroyed, unless it was moved here.
  if (!Moved(MostDerived(type))) DestroyThrown(type, thrown);
  __builtin_longjmp(frame->resume, 1);
}

[[noreturn]] __attribute__((noinline)) void ThrowTakenOver(foreign_object* taken) {
  FamilyOfForeign(*taken->type).throw_carried(taken);
  __builtin_unreachable();
}

}  // namespace

namespace {
// One of this module's own exceptions, as its class family raises it.
failure DescribeOwn(const std::exception& error) noexcept {
  const family& own = FamilyOfOwn(error);
  if (&own == &BadAllocFamily) return {&own, "bad allocation", nullptr};
  const char* text = own.static_text ? error.what() : InternedText(error.what());
  if (!text) return {&BadAllocFamily, "bad allocation", nullptr};
  return {&own, text, nullptr};
}
}  // namespace

failure describe_current_exception() noexcept {
  try {
    throw;
  } catch (const carried_exception& carried) {
    return {nullptr, carried.text(), carried.share()};
  } catch (const std::nested_exception& wrapper) {
    // A failure of this module that wraps another (a layer's own type around what a call
    // carried over) goes across as the one it wraps: the other side gets its object back.
    if (const std::exception_ptr wrapped = wrapper.nested_ptr()) {
      try {
        std::rethrow_exception(wrapped);
      } catch (...) {
        return describe_current_exception();
      }
    }
    if (const auto* error = dynamic_cast<const std::exception*>(&wrapper)) return DescribeOwn(*error);
    return {&StdExceptionFamily, "Unknown exception", nullptr};
  } catch (const std::exception& error) {
    return DescribeOwn(error);
  } catch (...) {
    return {&StdExceptionFamily, "Unknown exception", nullptr};
  }
}

void raise_across(const failure& left) {
  if (left.original) RaiseOriginal(left.original);
  const auto& raised = *static_cast<const family*>(left.family);
  exception_object object{&raised.vtable->delete_object, left.text, 0};
  Raise(&object, *raised.exception_type);
}

void call_guarded(void (*call)(void* context), void* context) {
  call_frame frame;
  frame.taken = nullptr;
  frame.taking_over = false;
  // The jump back restores only the frame and stack pointers; claiming the other registers
  // that callers keep makes this frame save them, so that its return and its unwinding
  // give callers theirs back.
  asm volatile("" ::: "ebx", "esi", "edi");
  if (__builtin_setjmp(frame.resume)) {
    PopFrame(frame);
    ThrowTakenOver(frame.taken);
  }
  PushFrame(frame, reinterpret_cast<PEXCEPTION_ROUTINE>(&TakeOverHandler));
  try {
    call(context);
  } catch (...) {
    // A C++ exception of this module's own, from a call that never left it.
    PopFrame(frame);
    throw;
  }
  PopFrame(frame);
}

namespace {
// Passes every exception on; tells of the served operation's frames when a handler on the
// other side abandons them.
EXCEPTION_DISPOSITION __cdecl ServedHandler(EXCEPTION_RECORD* record, void* establisher, CONTEXT*, void*) {
  if (IsUnwinding(*record)) FramesAbandonedBeyond(*static_cast<seh_frame*>(establisher));
  return ExceptionContinueSearch;
}

// A C++ exception that a guard's filter handled ends as at the end of a catch block: its
// object, still in the abandoned frame that raised it, is destroyed.
void DestroyHandled(const EXCEPTION_RECORD& record) {
  if (!IsCxxException(record) || !record.ExceptionInformation[2]) return;
  DestroyThrown(*reinterpret_cast<const cxx_exception_type*>(record.ExceptionInformation[2]),
                reinterpret_cast<void*>(record.ExceptionInformation[1]));
}

// The references that owning handles of abandoned frames held go back.
const bool g_frame_hooks_installed = (SetFrameHooks(&service_handle_link::release_abandoned, &DestroyHandled), true);
}  // namespace

void serve_work(void (*work)(void* context), void* context) noexcept {
  serve([&] { work(context); });
}

served_frame::served_frame() noexcept { PushFrame(frame_, reinterpret_cast<PEXCEPTION_ROUTINE>(&ServedHandler)); }
served_frame::~served_frame() { PopFrame(frame_); }

}  // namespace boundary
