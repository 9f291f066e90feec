// The window-free build's stand-in for the thread's code page: Latin-1.
#include "host/player/host_text.h"

std::wstring WideFromHost(const char* text, size_t length) {
  std::wstring wide;
  if (length == 0) return wide;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) wide.push_back(wchar_t(*p));
  return wide;
}
