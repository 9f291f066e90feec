// The gates' handling of the platform's C++ exceptions (host/cxx_abi.h). Catch clauses match
// by decorated class name, so this module's own records are as good as the other side's.
#include "host/boundary.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <stdexcept>

#include "host/cxx_abi.h"
#include "host/exception_win32.h"
#include "host/exceptions.h"
#include "host/interned_text.h"
#include "host/service.h"
#include "window/seh_frame.h"

namespace boundary {
namespace {

using namespace cxx_abi;

using what_function = const char*(__thiscall*)(const void* object);

const cxx_type_info* const* TypesOf(const cxx_exception_type& type) { return type.type_info_table->info; }

// This module's exception object, laid out as the platform's std::exception: table pointer,
// text, and the word that would make the other side's runtime free the text with its heap.
struct exception_object {
  const void* vtable;
  const char* text;
  int owns_text;  // an int for older runtimes, which read the whole word
};

// The other side's runtime may delete an object it made itself, never one of these: the
// deleting destructor only destroys, which is nothing.
void* __thiscall DeleteObject(exception_object* object, unsigned) { return object; }
const char* __thiscall ObjectText(const exception_object* object) { return object->text; }
void __thiscall DestroyObject(void*) {}
void* __thiscall CopyObject(void* target, const void* source) {
  const auto* from = static_cast<const exception_object*>(source);
  return new (target) exception_object{from->vtable, from->text, 0};
}

// The table of virtual functions as the platform lays it out: the complete object locator,
// then the functions; objects point at the first function.
struct exception_vtable {
  const rtti_object_locator* locator;
  void*(__thiscall* delete_object)(exception_object*, unsigned);
  const char*(__thiscall* what)(const exception_object*);
};

// One class of a family as the platform's runtime sees it: its type descriptor, its
// catchable type and its base class descriptor. Single inheritance everywhere, so a class's
// descriptor is the same in every hierarchy that holds it.
struct boundary_class {
  cxx_type_info catchable;
  rtti_base_descriptor base;
};

constexpr boundary_class ClassOf(const type_info& type, int bases) {
  return {{0, &type, {0, -1, 0}, int(sizeof(exception_object)), &CopyObject}, {&type, bases, {0, -1, 0}, 0}};
}

#define BOUNDARY_CLASS(name, decorated, bases)          \
  type_info name##Type = {nullptr, nullptr, decorated}; \
  constexpr boundary_class name = ClassOf(name##Type, bases)

BOUNDARY_CLASS(Truncation, ".?AVexception_io_data_truncation@quorbel_io@@", 3);
BOUNDARY_CLASS(IoData, ".?AVexception_io_data@quorbel_io@@", 2);
BOUNDARY_CLASS(Aborted, ".?AVexception_aborted@quorbel_io@@", 1);
BOUNDARY_CLASS(Io, ".?AVexception_io@quorbel_io@@", 1);
BOUNDARY_CLASS(NotFound, ".?AVexception_service_not_found@@", 1);
BOUNDARY_CLASS(Duplicated, ".?AVexception_service_duplicated@@", 1);
BOUNDARY_CLASS(NotImplemented, ".?AVexception_not_implemented@@", 2);
BOUNDARY_CLASS(BugCheck, ".?AVexception_bug_check@@", 1);
BOUNDARY_CLASS(Win32, ".?AVexception_win32@@", 1);
BOUNDARY_CLASS(BadAlloc, ".?AVbad_alloc@std@@", 1);
#ifdef BOUNDARY_CARRIES_RUNTIME_ERROR
BOUNDARY_CLASS(RuntimeError, ".?AVruntime_error@std@@", 1);
#endif
BOUNDARY_CLASS(StdException, ".?AVexception@std@@", 0);
#undef BOUNDARY_CLASS

// What an object of a class and its bases, most derived first, is raised with: the exception
// type of the raise, and the object's table of virtual functions with its type information.
template <const boundary_class&... Chain>
struct raised_as {
  static constexpr cxx_type_info_table catchables = {int(sizeof...(Chain)), {&Chain.catchable...}};
  static constexpr cxx_exception_type exception_type = {0, &DestroyObject, nullptr, &catchables};
  static constexpr const rtti_base_descriptor* bases[] = {&Chain.base...};
  static constexpr rtti_object_hierarchy hierarchy = {0, 0, int(sizeof...(Chain)), bases};
  static constexpr rtti_object_locator locator = {0, 0, 0, catchables.info[0]->type_info, &hierarchy};
  static constexpr exception_vtable vtable = {&locator, &DeleteObject, &ObjectText};
};

}  // namespace

// The other side's exception object, copied into this module's heap when it was taken over,
// shared by the copies of the C++ exception that carries it.
struct foreign_object {
  int references;
  const cxx_exception_type* type;
  const char* text;                    // the object's own what(), valid while the object lives
  bool moved_out;                      // the object went back to the other side bit by bit
  alignas(8) unsigned char object[1];  // as many bytes as the thrown type has
};

namespace {

const cxx_type_info& MostDerived(const cxx_exception_type& type) { return *TypesOf(type)[0]; }

// A type whose objects are copied bit by bit: a plain type, or a class that the other side's
// compiler gave no copy constructor. An object of such a class is moved: the bits are its
// only object from then on, and the place it left is not destroyed.
bool CopiedBitwise(const cxx_type_info& type) { return (type.flags & ClassIsSimpleType) || !type.copy_ctor; }
bool Moved(const cxx_type_info& type) { return !(type.flags & ClassIsSimpleType) && !type.copy_ctor; }

void CopyThrown(const cxx_type_info& type, void* target, const void* source) {
  if (CopiedBitwise(type)) {
    std::memcpy(target, source, size_t(type.size));
  } else if (type.flags & ClassHasVirtualBaseClass) {
    // The platform gives such types a copy constructor with a most-derived flag.
    reinterpret_cast<copy_constructor_with_virtual_bases>(reinterpret_cast<void*>(type.copy_ctor))(target, source, 1);
  } else {
    type.copy_ctor(target, source);
  }
}

const void* Subobject(const void* object, const this_ptr_offsets& offsets) {
  const char* at = static_cast<const char*>(object);
  if (offsets.vbase_descr >= 0) {
    at += offsets.vbase_descr;
    const char* table = *reinterpret_cast<const char* const*>(at);
    at += *reinterpret_cast<const int*>(table + offsets.vbase_offset);
  }
  return at + offsets.this_offset;
}

// The object's std::exception text, when it is one.
const char* ForeignText(const cxx_exception_type& type, const void* object) {
  const cxx_type_info* const* types = TypesOf(type);
  for (int i = 0; i < type.type_info_table->count; ++i) {
    if (std::strcmp(types[i]->type_info->mangled, StdExceptionType.mangled) != 0) continue;
    const void* exception = Subobject(object, types[i]->offsets);
    const auto* table = *static_cast<const what_function* const*>(exception);
    if (const char* text = table[1](exception)) return text;
  }
  return "Unknown exception";
}

// Room for the copy of a thrown object, which TakeOver makes.
foreign_object* RoomFor(const cxx_exception_type& type) {
  void* block = std::malloc(offsetof(foreign_object, object) + size_t(MostDerived(type).size));
  if (!block) return nullptr;
  return new (block) foreign_object{1, &type, nullptr, false, {}};
}

// Runs the other side's copy constructor and what().
void TakeOver(foreign_object& taken, const void* thrown) {
  CopyThrown(MostDerived(*taken.type), taken.object, thrown);
  taken.text = ForeignText(*taken.type, taken.object);
}

void DestroyThrown(const cxx_exception_type& type, void* object) {
  if (type.destructor) type.destructor(object);
}

void Release(foreign_object* taken) {
  if (--taken->references > 0) return;
  if (!taken->moved_out) DestroyThrown(*taken->type, taken->object);
  std::free(taken);
}

// A C++ exception of this module that carries the other side's object.
class carried_exception {
 public:
  explicit carried_exception(foreign_object* taken) : taken_(taken) {}
  carried_exception(const carried_exception& other) : taken_(other.taken_) { ++taken_->references; }
  carried_exception& operator=(const carried_exception&) = delete;
  ~carried_exception() { Release(taken_); }

  // A new reference to the carried object, for the caller to release.
  foreign_object* share() const {
    ++taken_->references;
    return taken_;
  }
  const char* text() const { return taken_->text; }

 private:
  foreign_object* taken_;
};

// The family classes that need a message to be made.
template <class Family, bool = std::is_default_constructible_v<Family>>
struct family_base : Family {
  explicit family_base(const char*) {}
};
template <class Family>
struct family_base<Family, false> : Family {
  explicit family_base(const char* text) : Family(text) {}
};

template <class Family>
class carried_as final : public family_base<Family>, public carried_exception {
 public:
  explicit carried_as(foreign_object* taken) : family_base<Family>(taken->text), carried_exception(taken) {}
  const char* what() const noexcept override { return text(); }
};

// A class family that crosses the boundary: how it is raised across, how this module
// recognises its own exceptions of it, and the C++ exception that an object of it taken over
// from the other side continues as.
struct family {
  const cxx_exception_type* exception_type;
  const exception_vtable* vtable;
  bool (*is)(const std::exception& error);
  void (*throw_carried)(foreign_object* taken);  // never returns
  bool static_text;                              // what() of this module's own exceptions points at storage that stays
};

template <class T>
bool Is(const std::exception& error) {
  if constexpr (std::is_same_v<T, std::exception>) {
    return true;
  } else {
    return dynamic_cast<const T*>(&error) != nullptr;
  }
}
template <class T>
[[noreturn]] void ThrowCarried(foreign_object* taken) {
  throw carried_as<T>(taken);
}
// `Own` is this module's class of the family, `Carried` the class that the other side's
// objects of it continue as here.
template <class Own, class Carried, const boundary_class&... Chain>
constexpr family FamilyOf(bool static_text) {
  return {&raised_as<Chain...>::exception_type, &raised_as<Chain...>::vtable, &Is<Own>, &ThrowCarried<Carried>,
          static_text};
}
template <class Own, const boundary_class&... Chain>
constexpr family FamilyOf(bool static_text) {
  return FamilyOf<Own, Own, Chain...>(static_text);
}

constexpr family BadAllocFamily = FamilyOf<std::bad_alloc, BadAlloc, StdException>(true);
constexpr family StdExceptionFamily = FamilyOf<std::exception, StdException>(false);

// Most derived first: the first family that matches is the exception's.
constexpr family Families[] = {
    FamilyOf<quorbel_io::exception_io_data_truncation, Truncation, IoData, Io, StdException>(true),
    FamilyOf<quorbel_io::exception_io_data, IoData, Io, StdException>(true),
    FamilyOf<quorbel_io::exception_aborted, Aborted, StdException>(true),
    FamilyOf<quorbel_io::exception_io, Io, StdException>(true),
    FamilyOf<exception_service_not_found, NotFound, StdException>(true),
    FamilyOf<exception_service_duplicated, Duplicated, StdException>(true),
    FamilyOf<exception_not_implemented, NotImplemented, BugCheck, StdException>(true),
    FamilyOf<exception_bug_check, BugCheck, StdException>(true),
    // The other side's exception_win32 continues here as a plain std::exception: its code
    // lies beyond the layout the platform fixes.
    FamilyOf<exception_win32, std::exception, Win32, StdException>(true),
#ifdef BOUNDARY_CARRIES_RUNTIME_ERROR
    FamilyOf<std::runtime_error, RuntimeError, StdException>(false),
#endif
};

const family& FamilyOfOwn(const std::exception& error) {
  if (Is<std::bad_alloc>(error)) return BadAllocFamily;
  for (const family& candidate : Families) {
    if (candidate.is(error)) return candidate;
  }
  return StdExceptionFamily;
}

const char* NameOf(const family& candidate) { return MostDerived(*candidate.exception_type).type_info->mangled; }

const family& FamilyOfForeign(const cxx_exception_type& type) {
  const cxx_type_info* const* types = TypesOf(type);
  for (int i = 0; i < type.type_info_table->count; ++i) {
    const char* name = types[i]->type_info->mangled;
    if (std::strcmp(name, NameOf(BadAllocFamily)) == 0) return BadAllocFamily;
    for (const family& candidate : Families) {
      if (std::strcmp(name, NameOf(candidate)) == 0) return candidate;
    }
  }
  return StdExceptionFamily;
}

[[noreturn]] void Raise(void* object, const cxx_exception_type& type) {
  const ULONG_PTR arguments[3] = {CxxFrameMagic, reinterpret_cast<ULONG_PTR>(object),
                                  reinterpret_cast<ULONG_PTR>(&type)};
  RaiseException(CxxExceptionCode, EXCEPTION_NONCONTINUABLE, 3, arguments);
  // A non-continuable exception does not come back.
  TerminateProcess(GetCurrentProcess(), CxxExceptionCode);
  for (;;) {
  }
}

// The carried object goes back as a fresh copy in this frame, which stays on the stack while
// the other side's handler runs and destroys it.
[[noreturn]] __attribute__((noinline)) void RaiseOriginal(foreign_object* taken) {
  const cxx_exception_type& type = *taken->type;
  const cxx_type_info& most_derived = MostDerived(type);
  void* object = __builtin_alloca_with_align(size_t(most_derived.size), 64);
  CopyThrown(most_derived, object, taken->object);
  taken->moved_out = Moved(most_derived);
  Release(taken);
  Raise(object, type);
}

// The exception in flight that a raise with no exception type rethrows. The platform's
// runtimes keep it per thread and leave the rethrow's record empty; the other side's runtime
// is the platform's runtime DLL, or its copy linked into the program, which then exports it.
const EXCEPTION_RECORD* RethrownException() {
  using current_exception_function = void**(__cdecl*)();
  for (const wchar_t* module : {L"vcruntime140.dll", L"vcruntime140d.dll", static_cast<const wchar_t*>(nullptr)}) {
    const HMODULE runtime = GetModuleHandleW(module);
    if (!runtime) continue;
    const auto current = reinterpret_cast<current_exception_function>(
        reinterpret_cast<void*>(GetProcAddress(runtime, "__current_exception")));
    if (!current) continue;
    const auto* record = static_cast<const EXCEPTION_RECORD*>(*current());
    if (record && IsCxxException(*record) && record->ExceptionInformation[2]) return record;
  }
  return nullptr;
}

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

failure describe_current_exception() noexcept {
  try {
    throw;
  } catch (const carried_exception& carried) {
    return {nullptr, carried.text(), carried.share()};
  } catch (const std::exception& error) {
    const family& own = FamilyOfOwn(error);
    if (&own == &BadAllocFamily) return {&own, "bad allocation", nullptr};
    const char* text = own.static_text ? error.what() : InternedText(error.what());
    if (!text) return {&BadAllocFamily, "bad allocation", nullptr};
    return {&own, text, nullptr};
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
