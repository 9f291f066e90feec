#include "host/boundary/exception_families.h"

#include <cstring>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <utility>

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

// Each class of a family, as the platform's runtime sees it, is its type descriptor.
#define BOUNDARY_CLASS(name, decorated) type_info name##Type = {nullptr, nullptr, decorated}
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
#undef BOUNDARY_CLASS

const code* CodeOf(const void* function) { return static_cast<const code*>(function); }

// What an object of a class and its bases, most derived first, is raised with: the exception
// type of the raise, and the object's table of virtual functions with its type information.
// Single inheritance everywhere: each class has as its bases the classes after it.
template <class Positions, type_info&... Chain>
struct raised_records;
template <size_t... Position, type_info&... Chain>
struct raised_records<std::index_sequence<Position...>, Chain...> {
  static constexpr int count = int(sizeof...(Chain));
  static constexpr type_info* types[] = {&Chain...};
  static inline const cxx_type_info catchables[] = {
      {0, &Chain, {0, -1, 0}, int(sizeof(exception_object)), CodeOf(reinterpret_cast<const void*>(&CopyObject))}...};
  static inline const cxx_type_info_table table = {count, {&catchables[Position]...}};
  static inline const cxx_exception_type exception_type = {
      0, CodeOf(reinterpret_cast<const void*>(&DestroyObject)), {}, &table};
  static inline const rtti_base_descriptor bases[] = {{&Chain, count - 1 - int(Position), {0, -1, 0}, 0}...};
  static inline const image_relative<rtti_base_descriptor> base_links[] = {&bases[Position]...};
  static inline const rtti_object_hierarchy hierarchy = {0, 0, count, base_links};
#ifdef _WIN64
  static inline const rtti_object_locator locator = {LocatorSignature, 0,          0,
                                                     types[0],         &hierarchy, &raised_records::locator};
#else
  static inline const rtti_object_locator locator = {LocatorSignature, 0, 0, types[0], &hierarchy};
#endif
  static constexpr exception_vtable vtable = {&locator, &DestroyWithoutFreeing, &ObjectText};
};
template <type_info&... Chain>
using raised_as = raised_records<std::make_index_sequence<sizeof...(Chain)>, Chain...>;

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
template <class Own, class Carried, type_info&... Chain>
constexpr family FamilyOf(bool static_text) {
  return {&raised_as<Chain...>::exception_type, &raised_as<Chain...>::vtable, &Is<Own>, &ThrowCarried<Carried>,
          static_text};
}
template <class Own, type_info&... Chain>
constexpr family FamilyOf(bool static_text) {
  return FamilyOf<Own, Own, Chain...>(static_text);
}

}  // namespace

extern constexpr family BadAllocFamily = FamilyOf<std::bad_alloc, BadAllocType, StdExceptionType>(true);
extern constexpr family StdExceptionFamily = FamilyOf<std::exception, StdExceptionType>(false);

namespace {
// Most derived first: the first family that matches is the exception's.
constexpr family Families[] = {
    FamilyOf<quorbel_io::exception_io_data_truncation, TruncationType, IoDataType, IoType, StdExceptionType>(true),
    FamilyOf<quorbel_io::exception_io_data, IoDataType, IoType, StdExceptionType>(true),
    FamilyOf<quorbel_io::exception_aborted, AbortedType, StdExceptionType>(true),
    FamilyOf<quorbel_io::exception_io, IoType, StdExceptionType>(true),
    FamilyOf<exception_service_not_found, NotFoundType, StdExceptionType>(true),
    FamilyOf<exception_service_duplicated, DuplicatedType, StdExceptionType>(true),
    FamilyOf<exception_not_implemented, NotImplementedType, BugCheckType, StdExceptionType>(true),
    FamilyOf<exception_bug_check, BugCheckType, StdExceptionType>(true),
    // The other side's exception_win32 continues here as a plain std::exception: its code
    // lies beyond the layout the platform fixes.
    FamilyOf<exception_win32, std::exception, Win32Type, StdExceptionType>(true),
#ifdef BOUNDARY_CARRIES_RUNTIME_ERROR
    FamilyOf<std::runtime_error, RuntimeErrorType, StdExceptionType>(false),
#endif
};

const char* NameOf(const family& candidate) {
  const raised_type own{candidate.exception_type, OwnImageBase()};
  return own.descriptor(own.most_derived()).mangled;
}
}  // namespace

const family& FamilyOfOwn(const std::exception& error) {
  if (Is<std::bad_alloc>(error)) return BadAllocFamily;
  for (const family& candidate : Families) {
    if (candidate.is(error)) return candidate;
  }
  return StdExceptionFamily;
}

const family& FamilyOfForeign(const raised_type& type) {
  for (int i = 0; i < type.count(); ++i) {
    const char* name = type.descriptor(type.catchable(i)).mangled;
    if (std::strcmp(name, NameOf(BadAllocFamily)) == 0) return BadAllocFamily;
    for (const family& candidate : Families) {
      if (std::strcmp(name, NameOf(candidate)) == 0) return candidate;
    }
  }
  return StdExceptionFamily;
}

}  // namespace boundary
