// Exhausted memory inside the library reaches the host as bad_allocation ("bad allocation").
#include <cstdlib>
#include <exception>
#include <new>

#include "host/boundary/exceptions.h"

void* operator new(std::size_t size) {
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw bad_allocation();
}

void* operator new[](std::size_t size) { return operator new(size); }

void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

// The C++ library's own failure paths, defined here so that none of its exception classes
// (and the strings they are built on) is linked in. A container or string that cannot grow
// has run out of memory as far as the host is concerned.
namespace {
// A misuse the library reports, such as a string made from a null pointer, with its text.
class library_logic_error final : public std::exception {
 public:
  explicit library_logic_error(const char* text) : text_(text) {}
  const char* what() const noexcept override { return text_; }

 private:
  const char* text_;  // a literal of the library
};
}  // namespace

namespace std {
[[noreturn]] void __throw_bad_alloc() { throw bad_allocation(); }
[[noreturn]] void __throw_bad_array_new_length() { throw bad_allocation(); }
[[noreturn]] void __throw_length_error(const char*) { throw bad_allocation(); }
[[noreturn]] void __throw_logic_error(const char* text) { throw library_logic_error(text); }
}  // namespace std
