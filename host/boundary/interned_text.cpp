#include "host/boundary/interned_text.h"

#include <cstring>
#include <forward_list>
#include <new>
#include <string>

namespace {
// Not a local static: that would link the C++ library's thread-safe guard and, with it,
// the threads library's condition variables.
std::forward_list<std::string> kept;
}  // namespace

const char* InternedText(const char* text) noexcept {
  for (const std::string& known : kept) {
    if (std::strcmp(known.c_str(), text) == 0) return known.c_str();
  }
  try {
    kept.emplace_front(text);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  return kept.front().c_str();
}
