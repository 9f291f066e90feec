#include "host/boundary/exception_families.h"

#include <cstring>
#include <new>
#include <stdexcept>
#include <type_traits>

#include "host/boundary/exception_win32.h"
#include "host/boundary/exceptions.h"

namespace boundary {

using namespace cxx_abi;

type_info StdExceptionType = {nullptr, nullptr, ".?AVexception@std@@"};

namespace {

// The other side's runtime may delete an object it made itself, never one of these: the
// deleting destructor only destroys, which is nothing.
void* __thiscall DestroyWithoutFreeing(exception_object* object, unsigned) { return object; }
const char* __thiscall ObjectText(const exception_object* object) { return object->text; }
void __thiscall DestroyObject(void*) {}
void* __thiscall CopyObject(void* target, const void* source) {
  const auto* from = static_cast<const exception_object*>(source);
  return new (target) exception_object{from->vtable, from->text, 0};
}

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
#undef BOUNDARY_CLASS
constexpr boundary_class StdException = ClassOf(StdExceptionType, 0);

// Whether each class of the chain counts as its bases the classes that follow it.
template <const boundary_class&... Chain>
constexpr bool BasesCounted() {
  const int counts[] = {Chain.base.num_base_classes...};
  for (int i = 0; i < int(sizeof...(Chain)); ++i) {
    if (counts[i] != int(sizeof...(Chain)) - 1 - i) return false;
  }
  return true;
}

// What an object of a class and its bases, most derived first, is raised with: the exception
// type of the raise, and the object's table of virtual functions with its type information.
template <const boundary_class&... Chain>
struct raised_as {
  static_assert(BasesCounted<Chain...>(), "a class's base count differs from its chain");
  static constexpr cxx_type_info_table catchables = {int(sizeof...(Chain)), {&Chain.catchable...}};
  static constexpr cxx_exception_type exception_type = {0, &DestroyObject, nullptr, &catchables};
  static constexpr const rtti_base_descriptor* bases[] = {&Chain.base...};
  static constexpr rtti_object_hierarchy hierarchy = {0, 0, int(sizeof...(Chain)), bases};
  static constexpr rtti_object_locator locator = {0, 0, 0, catchables.info[0]->type_info, &hierarchy};
  static constexpr exception_vtable vtable = {&locator, &DestroyWithoutFreeing, &ObjectText};
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

}  // namespace

extern constexpr family BadAllocFamily = FamilyOf<std::bad_alloc, BadAlloc, StdException>(true);
extern constexpr family StdExceptionFamily = FamilyOf<std::exception, StdException>(false);

namespace {
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

const char* NameOf(const family& candidate) { return MostDerived(*candidate.exception_type).type_info->mangled; }
}  // namespace

const family& FamilyOfOwn(const std::exception& error) {
  if (Is<std::bad_alloc>(error)) return BadAllocFamily;
  for (const family& candidate : Families) {
    if (candidate.is(error)) return candidate;
  }
  return StdExceptionFamily;
}

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

}  // namespace boundary
