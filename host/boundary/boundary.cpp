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

// What leaves a served operation, held without anything to destroy: the frame that holds it
// is abandoned when the other side catches the exception raised from it.
struct failure {
  const void* family;               // the class family it is raised as
  const char* text;                 // valid until the module unloads
  struct foreign_object* original;  // the other side's own exception, when it was carried here
};

// Describes the exception being handled; called inside a catch block only.
failure describe_current_exception() noexcept;
[[noreturn]] void raise_across(const failure& failure);

namespace {

using namespace cxx_abi;

struct call_frame : seh_frame {
  foreign_object* taken;
  // Set while the other side's copy constructor or what() runs: an exception of theirs there
  // passes this frame by, to the handlers outside.
  bool taking_over;
};

EXCEPTION_DISPOSITION TakeOverHandler(EXCEPTION_RECORD& record, seh_frame& base, CONTEXT& context, void* dispatch) {
  auto& frame = static_cast<call_frame&>(base);
  if (IsUnwinding(record)) {
    FramesAbandonedBeyond(frame);
    if (frame.taking_over) std::free(frame.taken);
    return ExceptionContinueSearch;
  }
  // Faults and other structured exceptions are the outer handlers' to decide.
  if (frame.taking_over || !IsCxxException(record)) return ExceptionContinueSearch;
  const EXCEPTION_RECORD* thrown_record = RaisedType(record).type ? &record : RethrownException();
  if (!thrown_record) return ExceptionContinueSearch;
  const raised_type type = RaisedType(*thrown_record);
  void* thrown = RaisedObject(*thrown_record);
  frame.taken = RoomFor(type);
  if (!frame.taken) return ExceptionContinueSearch;
  frame.taking_over = true;
  TakeOver(*frame.taken, thrown);
  frame.taking_over = false;
  // As the platform's runtime does once its handler is done, the thrown object is destroyed,
  // unless it was moved here; it lies intact in the frame that raised it until the unwinding.
  if (!Moved(type.most_derived())) DestroyThrown(type, thrown);
  ResumeAfter(frame, record, context, dispatch);
}

[[noreturn]] __attribute__((noinline)) void ThrowTakenOver(foreign_object* taken) {
  FamilyOfForeign(taken->type).throw_carried(taken);
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
  Raise(&object, {raised.exception_type, OwnImageBase()});
}

void call_guarded(void (*call)(void* context), void* context) {
  call_frame frame;
  frame.handler = &TakeOverHandler;
  frame.taken = nullptr;
  frame.taking_over = false;
  if (!RunInFrame(frame, call, context)) ThrowTakenOver(frame.taken);
}

namespace {
// Passes every exception on; tells of the served operation's frames when a handler on the
// other side abandons them.
EXCEPTION_DISPOSITION ServedHandler(EXCEPTION_RECORD& record, seh_frame& frame, CONTEXT&, void*) {
  if (IsUnwinding(record)) FramesAbandonedBeyond(frame);
  return ExceptionContinueSearch;
}

// A C++ exception that a guard's filter handled ends as at the end of a catch block: its
// object, still in the abandoned frame that raised it, is destroyed.
void DestroyHandled(const EXCEPTION_RECORD& record) {
  if (!IsCxxException(record) || !RaisedType(record).type) return;
  DestroyThrown(RaisedType(record), RaisedObject(record));
}

// The references that owning handles of abandoned frames held go back.
const bool g_frame_hooks_installed = (SetFrameHooks(&service_handle_link::release_abandoned, &DestroyHandled), true);

struct served_work {
  void (*work)(void* context);
  void* context;
};

// The served operation's body: a failure leaves it as a structured exception, raised once the
// catch block has ended, so that this side's runtime holds nothing of the exception when the
// other side takes the frames over.
void Serve(void* context) {
  const auto& served = *static_cast<served_work*>(context);
  failure left;
  try {
    served.work(served.context);
    return;
  } catch (...) {
    left = describe_current_exception();
  }
  raise_across(left);
}
}  // namespace

void serve_work(void (*work)(void* context), void* context) noexcept {
  seh_frame frame;
  frame.handler = &ServedHandler;
  served_work served{work, context};
  RunInFrame(frame, &Serve, &served);
}

}  // namespace boundary
