#include "host/interned_text.h"

#include <cstring>
#include <forward_list>
#include <new>
#include <string>

const char* InternedText(const char* text) noexcept {
  static std::forward_list<std::string> kept;
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
