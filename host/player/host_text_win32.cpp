#include <windows.h>

#include "host/player/host_text.h"

std::wstring WideFromHost(const char* text, size_t length) {
  if (length == 0) return {};
  const int units = MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, nullptr, 0);
  if (units <= 1) return {};
  std::wstring wide(size_t(units), L'\0');
  const int converted = MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, &wide[0], units);
  wide.resize(converted > 0 ? size_t(converted - 1) : 0);  // without the terminator
  return wide;
}
