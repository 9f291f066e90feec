// The class families that cross the boundary: how this module raises each across, and what
// an object of it that the other side raised continues as here.
#pragma once

#include <exception>

#include "host/boundary/cxx_abi.h"
#include "host/boundary/cxx_objects.h"

namespace boundary {

// This module's exception object, laid out as the platform's std::exception: table pointer,
// text, and the word that would make the other side's runtime free the text with its heap.
struct exception_object {
  const void* vtable;
  const char* text;
  int owns_text;  // an int for older runtimes, which read the whole word
};

// The table of virtual functions as the platform lays it out: the complete object locator,
// then the functions; objects point at the first function.
struct exception_vtable {
  const cxx_abi::rtti_object_locator* locator;
  void*(__thiscall* delete_object)(exception_object*, unsigned);
  const char*(__thiscall* what)(const exception_object*);
};

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

// A class family that crosses the boundary: how it is raised across, how this module
// recognises its own exceptions of it, and the C++ exception that an object of it taken over
// from the other side continues as.
struct family {
  const cxx_abi::cxx_exception_type* exception_type;
  const exception_vtable* vtable;
  bool (*is)(const std::exception& error);
  void (*throw_carried)(foreign_object* taken);  // never returns
  bool static_text;                              // what() of this module's own exceptions points at storage that stays
};

// std::exception's type descriptor: every family's last base.
extern cxx_abi::type_info StdExceptionType;
extern const family BadAllocFamily;
extern const family StdExceptionFamily;

const family& FamilyOfOwn(const std::exception& error);
const family& FamilyOfForeign(const cxx_abi::raised_type& type);

}  // namespace boundary
