// The platform's C++ exception ABI, as 32-bit code lays it out: RaiseException(0xE06D7363,
// EXCEPTION_NONCONTINUABLE, {magic, object, throw information}), the throw information naming
// the object's destructor and its catchable types, each a decorated class name with the size
// and copy constructor of the object. Catch clauses match by name, so this module's own
// records are as good as the other side's.
#include "host/boundary.h"

#include <windows.h>

#include <intrin.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iterator>
#include <new>
#include <stdexcept>

#include "host/exception_win32.h"
#include "host/exceptions.h"
#include "host/interned_text.h"
#include "host/service.h"

namespace boundary {
namespace {

constexpr DWORD PlatformCppExceptionCode = 0xE06D7363;
constexpr ULONG_PTR PlatformCppMagic = 0x19930520;
// Later runtimes raise these magic numbers with the same record layout.
constexpr ULONG_PTR PlatformCppMagicLast = 0x19930522;

struct type_descriptor {
  const void* type_info_table;  // matching compares names only, so none is needed here
  const void* spare;
  char name[48];
};

// Where the subobject of a catchable type lies in the thrown object.
struct this_displacement {
  int member;
  int virtual_base_table;  // negative: no virtual base on the way
  int virtual_base_entry;
};

using copy_function = void*(__thiscall*)(void* target, const void* source);
using copy_virtual_base_function = void*(__thiscall*)(void* target, const void* source, int most_derived);
using destroy_function = void(__thiscall*)(void* object);
using what_function = const char*(__thiscall*)(const void* object);

enum : uint32_t { SimpleType = 1, HasVirtualBase = 4 };

struct catchable_type {
  uint32_t properties;
  const type_descriptor* type;
  this_displacement displacement;
  int size;
  copy_function copy;
};

struct catchable_type_array {
  int count;
  // As long as the longest family here; the other side's arrays are longer or shorter.
  const catchable_type* types[4];
};

struct throw_info {
  uint32_t attributes;
  destroy_function destroy;
  const void* forward_compatibility;
  const catchable_type_array* catchables;
};

const catchable_type* const* TypesOf(const throw_info& info) { return info.catchables->types; }

// This module's exception object, laid out as the platform's std::exception: table pointer,
// text, and the flag that would make the other side's runtime free the text with its heap.
struct exception_object {
  const void* table;
  const char* text;
  bool owns_text;
};

// The other side's runtime may delete an object it made itself, never one of these: the
// deleting destructor only destroys, which is nothing.
void* __thiscall DeleteObject(exception_object* object, unsigned) { return object; }
const char* __thiscall ObjectText(const exception_object* object) { return object->text; }
void __thiscall DestroyObject(void*) {}
void* __thiscall CopyObject(void* target, const void* source) {
  const auto* from = static_cast<const exception_object*>(source);
  return new (target) exception_object{from->table, from->text, false};
}

// The table as the platform lays it out: the type locator slot first (none: the other side's
// typeid then reports a missing type rather than reading past the table), then the slots.
struct exception_table {
  const void* locator;
  void*(__thiscall* delete_object)(exception_object*, unsigned);
  const char*(__thiscall* what)(const exception_object*);
};
constexpr exception_table ObjectTable = {nullptr, &DeleteObject, &ObjectText};

constexpr catchable_type Catchable(const type_descriptor& type) {
  return {0, &type, {0, -1, 0}, int(sizeof(exception_object)), &CopyObject};
}

// One class of a family as the platform's runtime sees it: `name` is its catchable type,
// named by `decorated` through its type descriptor `name##Type`.
#define BOUNDARY_CLASS(name, decorated)                                 \
  constexpr type_descriptor name##Type = {nullptr, nullptr, decorated}; \
  constexpr catchable_type name = Catchable(name##Type)

BOUNDARY_CLASS(Truncation, ".?AVexception_io_data_truncation@quorbel_io@@");
BOUNDARY_CLASS(IoData, ".?AVexception_io_data@quorbel_io@@");
BOUNDARY_CLASS(Aborted, ".?AVexception_aborted@quorbel_io@@");
BOUNDARY_CLASS(Io, ".?AVexception_io@quorbel_io@@");
BOUNDARY_CLASS(NotFound, ".?AVexception_service_not_found@@");
BOUNDARY_CLASS(Duplicated, ".?AVexception_service_duplicated@@");
BOUNDARY_CLASS(NotImplemented, ".?AVexception_not_implemented@@");
BOUNDARY_CLASS(BugCheck, ".?AVexception_bug_check@@");
BOUNDARY_CLASS(Win32, ".?AVexception_win32@@");
BOUNDARY_CLASS(BadAlloc, ".?AVbad_alloc@std@@");
#ifdef BOUNDARY_CARRIES_RUNTIME_ERROR
BOUNDARY_CLASS(RuntimeError, ".?AVruntime_error@std@@");
#endif
BOUNDARY_CLASS(StdException, ".?AVexception@std@@");
#undef BOUNDARY_CLASS

// A class and its bases, most derived first.
template <const catchable_type&... Chain>
constexpr catchable_type_array ChainOf = {int(sizeof...(Chain)), {&Chain...}};
template <const catchable_type&... Chain>
constexpr throw_info ThrowInfoOf = {0, &DestroyObject, nullptr, &ChainOf<Chain...>};

}  // namespace

// The other side's exception object, copied into this module's heap when it was taken over,
// shared by the copies of the C++ exception that carries it.
struct foreign_object {
  int references;
  const throw_info* info;
  const char* text;                    // the object's own what(), valid while the object lives
  alignas(8) unsigned char object[1];  // as many bytes as the thrown type has
};

namespace {

const catchable_type& MostDerived(const throw_info& info) { return *TypesOf(info)[0]; }

void CopyThrown(const catchable_type& type, void* target, const void* source) {
  if ((type.properties & SimpleType) || !type.copy) {
    std::memcpy(target, source, size_t(type.size));
  } else if (type.properties & HasVirtualBase) {
    // The platform gives such types a copy constructor with a most-derived flag.
    reinterpret_cast<copy_virtual_base_function>(reinterpret_cast<void*>(type.copy))(target, source, 1);
  } else {
    type.copy(target, source);
  }
}

const void* Subobject(const void* object, const this_displacement& displacement) {
  const char* at = static_cast<const char*>(object);
  if (displacement.virtual_base_table >= 0) {
    at += displacement.virtual_base_table;
    const char* table = *reinterpret_cast<const char* const*>(at);
    at += *reinterpret_cast<const int*>(table + displacement.virtual_base_entry);
  }
  return at + displacement.member;
}

// The object's std::exception text, when it is one.
const char* ForeignText(const throw_info& info, const void* object) {
  const catchable_type* const* types = TypesOf(info);
  for (int i = 0; i < info.catchables->count; ++i) {
    if (std::strcmp(types[i]->type->name, StdExceptionType.name) != 0) continue;
    const void* exception = Subobject(object, types[i]->displacement);
    const auto* table = *static_cast<const what_function* const*>(exception);
    if (const char* text = table[1](exception)) return text;
  }
  return "Unknown exception";
}

foreign_object* TakeOver(const throw_info& info, const void* thrown) {
  const catchable_type& type = MostDerived(info);
  void* block = std::malloc(offsetof(foreign_object, object) + size_t(type.size));
  if (!block) return nullptr;
  auto* taken = static_cast<foreign_object*>(block);
  taken->references = 1;
  taken->info = &info;
  CopyThrown(type, taken->object, thrown);
  taken->text = ForeignText(info, taken->object);
  return taken;
}

void DestroyThrown(const throw_info& info, void* object) {
  if (info.destroy) info.destroy(object);
}

void Release(foreign_object* taken) {
  if (--taken->references > 0) return;
  DestroyThrown(*taken->info, taken->object);
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
  const throw_info* info;
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
template <class T, const catchable_type&... Chain>
constexpr family FamilyOf(bool static_text) {
  return {&ThrowInfoOf<Chain...>, &Is<T>, &ThrowCarried<T>, static_text};
}

// Most derived first: the first family that matches is the exception's.
const family Families[] = {
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
    {&ThrowInfoOf<Win32, StdException>, &Is<exception_win32>, &ThrowCarried<std::exception>, true},
    FamilyOf<std::bad_alloc, BadAlloc, StdException>(true),
#ifdef BOUNDARY_CARRIES_RUNTIME_ERROR
    FamilyOf<std::runtime_error, RuntimeError, StdException>(false),
#endif
    FamilyOf<std::exception, StdException>(false),
};
const family& BadAllocFamily = Families[9];
const family& StdExceptionFamily = std::end(Families)[-1];

const family& FamilyOfOwn(const std::exception& error) {
  for (const family& candidate : Families) {
    if (candidate.is(error)) return candidate;
  }
  return StdExceptionFamily;
}

const family& FamilyOfForeign(const throw_info& info) {
  const catchable_type* const* types = TypesOf(info);
  for (int i = 0; i < info.catchables->count; ++i) {
    for (const family& candidate : Families) {
      if (std::strcmp(types[i]->type->name, MostDerived(*candidate.info).type->name) == 0) return candidate;
    }
  }
  return StdExceptionFamily;
}

[[noreturn]] void Raise(void* object, const throw_info& info) {
  const ULONG_PTR arguments[3] = {PlatformCppMagic, reinterpret_cast<ULONG_PTR>(object),
                                  reinterpret_cast<ULONG_PTR>(&info)};
  RaiseException(PlatformCppExceptionCode, EXCEPTION_NONCONTINUABLE, 3, arguments);
  // A non-continuable exception does not come back.
  TerminateProcess(GetCurrentProcess(), PlatformCppExceptionCode);
  for (;;) {
  }
}

// The carried object goes back as a fresh copy in this frame, which stays on the stack while
// the other side's handler runs and destroys it.
[[noreturn]] __attribute__((noinline)) void RaiseOriginal(foreign_object* taken) {
  const throw_info& info = *taken->info;
  const catchable_type& type = MostDerived(info);
  void* object = __builtin_alloca_with_align(size_t(type.size), 64);
  CopyThrown(type, object, taken->object);
  Release(taken);
  Raise(object, info);
}

bool IsPlatformCppException(const EXCEPTION_RECORD& record) {
  return record.ExceptionCode == PlatformCppExceptionCode && record.NumberParameters >= 3 &&
         record.ExceptionInformation[0] >= PlatformCppMagic && record.ExceptionInformation[0] <= PlatformCppMagicLast &&
         record.ExceptionInformation[2] != 0;
}

EXCEPTION_REGISTRATION_RECORD* ChainHead() {
  return reinterpret_cast<EXCEPTION_REGISTRATION_RECORD*>(__readfsdword(0));
}
void SetChainHead(EXCEPTION_REGISTRATION_RECORD* record) { __writefsdword(0, reinterpret_cast<DWORD>(record)); }

struct call_frame {
  // Must stay first: the system sees the frame as this record.
  EXCEPTION_REGISTRATION_RECORD record;
  void* resume[5];  // __builtin_setjmp's buffer
  foreign_object* taken;
};

EXCEPTION_DISPOSITION __cdecl TakeOverHandler(EXCEPTION_RECORD* record, void* establisher, CONTEXT*, void*) {
  auto* frame = static_cast<call_frame*>(establisher);
  if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) {
    // A handler further out abandons the frames between this one and the next registered
    // frame without their destructors; the references their handles held go back.
    service_handle_link::release_abandoned(frame, frame->record.Next);
    return ExceptionContinueSearch;
  }
  // Faults and other structured exceptions are the outer handlers' to decide.
  if (!IsPlatformCppException(*record)) return ExceptionContinueSearch;
  const auto& info = *reinterpret_cast<const throw_info*>(record->ExceptionInformation[2]);
  void* thrown = reinterpret_cast<void*>(record->ExceptionInformation[1]);
  frame->taken = TakeOver(info, thrown);
  if (!frame->taken) return ExceptionContinueSearch;
  RtlUnwind(&frame->record, nullptr, record, nullptr);
  // As the platform's runtime does once its handler is done: the frames above are unwound,
  // and the thrown object, still on the stack, is destroyed.
  DestroyThrown(info, thrown);
  __builtin_longjmp(frame->resume, 1);
}

[[noreturn]] __attribute__((noinline)) void ThrowTakenOver(foreign_object* taken) {
  FamilyOfForeign(*taken->info).throw_carried(taken);
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
  exception_object object{&ObjectTable.delete_object, left.text, false};
  Raise(&object, *static_cast<const family*>(left.family)->info);
}

void call_guarded(void (*call)(void* context), void* context) {
  call_frame frame;
  frame.taken = nullptr;
  // Read again after the jump back, which restores no registers but the frame's.
  EXCEPTION_REGISTRATION_RECORD* volatile previous = ChainHead();
  frame.record.Handler = reinterpret_cast<PEXCEPTION_ROUTINE>(&TakeOverHandler);
  frame.record.Next = previous;
  // The jump back restores only the frame and stack pointers; claiming the other registers
  // that callers keep makes this frame save them, so that its return and its unwinding
  // give callers theirs back.
  asm volatile("" ::: "ebx", "esi", "edi");
  if (__builtin_setjmp(frame.resume)) {
    SetChainHead(previous);
    ThrowTakenOver(frame.taken);
  }
  SetChainHead(&frame.record);
  try {
    call(context);
  } catch (...) {
    // A C++ exception of this module's own, from a call that never left it.
    SetChainHead(previous);
    throw;
  }
  SetChainHead(previous);
}

}  // namespace boundary
