// GUID as the host interfaces and the configuration stream see it: Data1 (32-bit),
// Data2 and Data3 (16-bit), Data4 (8 bytes), 16 bytes with no padding.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <guiddef.h>
#else
struct GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
};
inline bool operator==(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }
inline bool operator!=(const GUID& a, const GUID& b) { return !(a == b); }
#endif

static_assert(sizeof(GUID) == 16, "GUID must be 16 bytes");

// Orders GUIDs by their 16 memory bytes compared as unsigned bytes.
struct guid_byte_less {
  bool operator()(const GUID& a, const GUID& b) const { return std::memcmp(&a, &b, sizeof(GUID)) < 0; }
};

inline bool guid_is_null(const GUID& g) {
  static const GUID null_guid{};
  return g == null_guid;
}

// The GUID as 36 upper-case hexadecimal digits and dashes, without braces.
// Formatted by hand: the library links no printf family.
inline std::string GuidText(const GUID& g) {
  std::string text;
  text.reserve(36);
  const auto hex = [&text](uint32_t value, int digits) {
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) text += "0123456789ABCDEF"[(value >> shift) & 15];
  };
  hex(g.Data1, 8);
  text += '-';
  hex(g.Data2, 4);
  text += '-';
  hex(g.Data3, 4);
  for (int i = 0; i < 8; ++i) {
    if (i == 0 || i == 2) text += '-';
    hex(g.Data4[i], 2);
  }
  return text;
}
