// Exhausted memory inside the library reaches the host as bad_allocation ("bad allocation").
#include <cstdlib>
#include <new>

#include "host/exceptions.h"

void* operator new(std::size_t size) {
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw bad_allocation();
}

void* operator new[](std::size_t size) { return operator new(size); }

void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
