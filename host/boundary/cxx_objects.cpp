#include "host/boundary/cxx_objects.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <new>

#include "host/boundary/exception_families.h"

namespace boundary {

using namespace cxx_abi;

namespace {

using what_function = const char*(__thiscall*)(const void* object);

// A type whose objects are copied bit by bit: a plain type, or a class whose objects are moved.
bool CopiedBitwise(const cxx_type_info& type) { return (type.flags & ClassIsSimpleType) || !type.copy_ctor; }

void CopyThrown(const raised_type& raised, void* target, const void* source) {
  const cxx_type_info& type = raised.most_derived();
  if (CopiedBitwise(type)) {
    std::memcpy(target, source, size_t(type.size));
  } else if (type.flags & ClassHasVirtualBaseClass) {
    // The platform gives such types a copy constructor with a most-derived flag.
    reinterpret_cast<copy_constructor_with_virtual_bases>(reinterpret_cast<void*>(raised.copy_ctor(type)))(target,
                                                                                                           source, 1);
  } else {
    raised.copy_ctor(type)(target, source);
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
const char* ForeignText(const raised_type& type, const void* object) {
  for (int i = 0; i < type.count(); ++i) {
    const cxx_type_info& catchable = type.catchable(i);
    if (std::strcmp(type.descriptor(catchable).mangled, StdExceptionType.mangled) != 0) continue;
    const void* exception = Subobject(object, catchable.offsets);
    const auto* table = *static_cast<const what_function* const*>(exception);
    if (const char* text = table[1](exception)) return text;
  }
  return "Unknown exception";
}

}  // namespace

foreign_object* RoomFor(const raised_type& type) {
  void* block = std::malloc(offsetof(foreign_object, object) + size_t(type.most_derived().size));
  if (!block) return nullptr;
  return new (block) foreign_object{1, type, nullptr, false, {}};
}

void TakeOver(foreign_object& taken, const void* thrown) {
  CopyThrown(taken.type, taken.object, thrown);
  taken.text = ForeignText(taken.type, taken.object);
}

void DestroyThrown(const raised_type& type, void* object) {
  if (const destructor destroy = type.destructor()) destroy(object);
}

void Release(foreign_object* taken) {
  if (--taken->references > 0) return;
  if (!taken->moved_out) DestroyThrown(taken->type, taken->object);
  std::free(taken);
}

[[noreturn]] void Raise(void* object, const raised_type& type) {
  // The fourth is the image base that x64 records are read from; 32-bit raises pass three.
  const ULONG_PTR arguments[4] = {CxxFrameMagic, reinterpret_cast<ULONG_PTR>(object),
                                  reinterpret_cast<ULONG_PTR>(type.type), type.image_base};
  RaiseException(CxxExceptionCode, EXCEPTION_NONCONTINUABLE, CxxExceptionParameters, arguments);
  // A non-continuable exception does not come back.
  TerminateProcess(GetCurrentProcess(), CxxExceptionCode);
  for (;;) {
  }
}

// The carried object goes back as a fresh copy in this frame, which stays on the stack while
// the other side's handler runs and destroys it.
__attribute__((noinline)) void RaiseOriginal(foreign_object* taken) {
  const raised_type type = taken->type;
  const cxx_type_info& most_derived = type.most_derived();
  void* object = __builtin_alloca_with_align(size_t(most_derived.size), 64);
  CopyThrown(type, object, taken->object);
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
    if (record && IsCxxException(*record) && RaisedType(*record).type) return record;
  }
  return nullptr;
}

}  // namespace boundary
