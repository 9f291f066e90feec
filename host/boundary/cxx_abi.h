// The platform's C++ exception and RTTI records, with the field names of Wine's runtime,
// which implements the same ABI. A C++ exception is
// RaiseException(CxxExceptionCode, EXCEPTION_NONCONTINUABLE, {magic, object, exception type}),
// and on x64 the raising module's image base as a fourth parameter. The exception type names
// the object's destructor and its catchable types, each a decorated class name with the size
// and copy constructor of the object. An object's table of virtual functions has the object's
// complete object locator in the slot before the first function.
//
// 32-bit code links the records by pointer; x64 code by 32-bit offsets from the image base of
// the module that holds them, so that a record is read with that base. One description serves
// both: `image_relative` is a pointer or an offset by width.
#pragma once

#include <windows.h>

#include <cstdint>

namespace cxx_abi {

constexpr DWORD CxxExceptionCode = 0xE06D7363;
constexpr ULONG_PTR CxxFrameMagic = 0x19930520;
// Later runtimes raise these magic numbers with the same record layout.
constexpr ULONG_PTR CxxFrameMagicLast = 0x19930522;

#ifdef _WIN64
constexpr DWORD CxxExceptionParameters = 4;
constexpr uint32_t LocatorSignature = 1;  // the locator holds its own offset
#else
constexpr DWORD CxxExceptionParameters = 3;
constexpr uint32_t LocatorSignature = 0;
#endif

// This module's image base: the records it raises are read relative to it.
extern "C" IMAGE_DOS_HEADER __ImageBase;
inline ULONG_PTR OwnImageBase() { return reinterpret_cast<ULONG_PTR>(&__ImageBase); }

// A link from one record to another, read with the image base of the module that holds it.
// A null link is null in both forms.
template <class T>
struct image_relative {
#ifdef _WIN64
  int32_t offset = 0;

  image_relative() = default;
  image_relative(const T* target)
      : offset(target ? int32_t(reinterpret_cast<ULONG_PTR>(target) - OwnImageBase()) : 0) {}
  const T* in(ULONG_PTR base) const { return offset ? reinterpret_cast<const T*>(base + ULONG_PTR(offset)) : nullptr; }
  explicit operator bool() const { return offset != 0; }
#else
  const T* pointer = nullptr;

  constexpr image_relative() = default;
  constexpr image_relative(const T* target) : pointer(target) {}
  const T* in(ULONG_PTR) const { return pointer; }
  explicit constexpr operator bool() const { return pointer != nullptr; }
#endif
};

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

// Member functions of the platform's ABI: __thiscall on 32-bit, the one convention on x64.
using copy_constructor = void*(__thiscall*)(void* target, const void* source);
using copy_constructor_with_virtual_bases = void*(__thiscall*)(void* target, const void* source, int most_derived);
using destructor = void(__thiscall*)(void* object);
struct code;  // a function, linked to by a record

enum : uint32_t { ClassIsSimpleType = 1, ClassHasVirtualBaseClass = 4 };

struct cxx_type_info {
  uint32_t flags;
  image_relative<cxx_abi::type_info> type_info;
  this_ptr_offsets offsets;
  int size;
  image_relative<code> copy_ctor;
};

struct cxx_type_info_table {
  int count;
  // As long as the longest list this module raises; the other side's are longer or shorter.
  image_relative<cxx_type_info> info[4];
};

struct cxx_exception_type {
  uint32_t flags;
  image_relative<code> destructor;
  image_relative<code> custom_handler;
  image_relative<cxx_type_info_table> type_info_table;
};

struct rtti_base_descriptor {
  image_relative<type_info> type_descriptor;
  int num_base_classes;  // the bases that follow it in the array: its own
  this_ptr_offsets offsets;
  uint32_t attributes;
};

struct rtti_object_hierarchy {
  uint32_t signature;
  uint32_t attributes;  // 0: single inheritance
  int array_len;
  image_relative<image_relative<rtti_base_descriptor>> base_classes;  // the class first, then its bases
};

struct rtti_object_locator {
  uint32_t signature;
  int base_class_offset;
  uint32_t flags;
  image_relative<type_info> type_descriptor;
  image_relative<rtti_object_hierarchy> type_hierarchy;
#ifdef _WIN64
  image_relative<rtti_object_locator> self;
#endif
};

// A raised C++ exception's record, checked for the layout above.
inline bool IsCxxException(const EXCEPTION_RECORD& record) {
  return record.ExceptionCode == CxxExceptionCode && record.NumberParameters >= CxxExceptionParameters &&
         record.ExceptionInformation[0] >= CxxFrameMagic && record.ExceptionInformation[0] <= CxxFrameMagicLast;
}

// The exception type of a raised object, with the image base its links are read from: the
// raising module's.
struct raised_type {
  const cxx_exception_type* type;
  ULONG_PTR image_base;

  int count() const { return table().count; }
  const cxx_type_info& catchable(int index) const { return *table().info[index].in(image_base); }
  const cxx_type_info& most_derived() const { return catchable(0); }
  const cxx_abi::type_info& descriptor(const cxx_type_info& catchable) const {
    return *catchable.type_info.in(image_base);
  }
  copy_constructor copy_ctor(const cxx_type_info& catchable) const {
    return reinterpret_cast<copy_constructor>(catchable.copy_ctor.in(image_base));
  }
  cxx_abi::destructor destructor() const {
    return reinterpret_cast<cxx_abi::destructor>(type->destructor.in(image_base));
  }

 private:
  const cxx_type_info_table& table() const { return *type->type_info_table.in(image_base); }
};

// The object and exception type of a C++ exception's record; a rethrow's record names neither.
inline void* RaisedObject(const EXCEPTION_RECORD& record) {
  return reinterpret_cast<void*>(record.ExceptionInformation[1]);
}
inline raised_type RaisedType(const EXCEPTION_RECORD& record) {
  const auto* type = reinterpret_cast<const cxx_exception_type*>(record.ExceptionInformation[2]);
#ifdef _WIN64
  return {type, record.ExceptionInformation[3]};
#else
  return {type, 0};
#endif
}

}  // namespace cxx_abi
