// The platform's C++ exception and RTTI records as 32-bit code lays them out, with the field
// names of Wine's runtime, which implements the same ABI. A C++ exception is
// RaiseException(CxxExceptionCode, EXCEPTION_NONCONTINUABLE, {magic, object, exception type});
// the exception type names the object's destructor and its catchable types, each a decorated
// class name with the size and copy constructor of the object. An object's table of virtual
// functions has the object's complete object locator in the slot before the first function.
#pragma once

#include <windows.h>

#include <cstdint>

namespace cxx_abi {

constexpr DWORD CxxExceptionCode = 0xE06D7363;
constexpr ULONG_PTR CxxFrameMagic = 0x19930520;
// Later runtimes raise these magic numbers with the same record layout.
constexpr ULONG_PTR CxxFrameMagicLast = 0x19930522;

// The other side's type_info::name() keeps the undecorated name it makes in `name`: records
// of this kind are written to, and live in writable data.
struct type_info {
  const void* vtable;  // the runtime's own type_info table; no one here destroys one
  char* name;
  char mangled[48];
};

// Where a base class's subobject lies in the complete object.
struct this_ptr_offsets {
  int this_offset;
  int vbase_descr;  // negative: no virtual base on the way
  int vbase_offset;
};

using copy_constructor = void*(__thiscall*)(void* target, const void* source);
using copy_constructor_with_virtual_bases = void*(__thiscall*)(void* target, const void* source, int most_derived);
using destructor = void(__thiscall*)(void* object);

enum : uint32_t { ClassIsSimpleType = 1, ClassHasVirtualBaseClass = 4 };

struct cxx_type_info {
  uint32_t flags;
  const cxx_abi::type_info* type_info;
  this_ptr_offsets offsets;
  int size;
  copy_constructor copy_ctor;
};

struct cxx_type_info_table {
  int count;
  // As long as the longest list this module raises; the other side's are longer or shorter.
  const cxx_type_info* info[4];
};

struct cxx_exception_type {
  uint32_t flags;
  cxx_abi::destructor destructor;
  const void* custom_handler;
  const cxx_type_info_table* type_info_table;
};

struct rtti_base_descriptor {
  const type_info* type_descriptor;
  int num_base_classes;  // the bases that follow it in the array: its own
  this_ptr_offsets offsets;
  uint32_t attributes;
};

struct rtti_object_hierarchy {
  uint32_t signature;
  uint32_t attributes;  // 0: single inheritance
  int array_len;
  const rtti_base_descriptor* const* base_classes;  // the class first, then its bases
};

struct rtti_object_locator {
  uint32_t signature;
  int base_class_offset;
  uint32_t flags;
  const type_info* type_descriptor;
  const rtti_object_hierarchy* type_hierarchy;
};

// A raised C++ exception's record, checked for the layout above.
inline bool IsCxxException(const EXCEPTION_RECORD& record) {
  return record.ExceptionCode == CxxExceptionCode && record.NumberParameters >= 3 &&
         record.ExceptionInformation[0] >= CxxFrameMagic && record.ExceptionInformation[0] <= CxxFrameMagicLast;
}

}  // namespace cxx_abi
