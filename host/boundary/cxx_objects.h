// The other side's C++ exception objects: copied into this module's heap when a gate takes
// one over, and raised again when it goes back across.
#pragma once

#include <windows.h>

#include "host/boundary/cxx_abi.h"

namespace boundary {

// The other side's exception object, copied into this module's heap when it was taken over,
// shared by the copies of the C++ exception that carries it.
struct foreign_object {
  int references;
  cxx_abi::raised_type type;
  const char* text;                    // the object's own what(), valid while the object lives
  bool moved_out;                      // the object went back to the other side bit by bit
  alignas(8) unsigned char object[1];  // as many bytes as the thrown type has
};

// A class that the other side's compiler gave no copy constructor: its objects are moved, bit
// by bit, and the place one left is not destroyed.
inline bool Moved(const cxx_abi::cxx_type_info& type) {
  return !(type.flags & cxx_abi::ClassIsSimpleType) && !type.copy_ctor;
}

// Room for the copy of a thrown object, which TakeOver makes by the other side's copy
// constructor and what(), either of which may throw.
foreign_object* RoomFor(const cxx_abi::raised_type& type);
void TakeOver(foreign_object& taken, const void* thrown);
void DestroyThrown(const cxx_abi::raised_type& type, void* object);
void Release(foreign_object* taken);

[[noreturn]] void Raise(void* object, const cxx_abi::raised_type& type);
// Raises the carried object again, as the other side threw it.
[[noreturn]] void RaiseOriginal(foreign_object* taken);

// The exception in flight that a raise with no exception type rethrows, when the other
// side's runtime tells.
const EXCEPTION_RECORD* RethrownException();

}  // namespace boundary
