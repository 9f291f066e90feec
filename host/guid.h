// GUID as the host interfaces and the configuration stream see it: Data1 (32-bit),
// Data2 and Data3 (16-bit), Data4 (8 bytes), 16 bytes with no padding.
#pragma once

#include <cstdint>
#include <cstdio>
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
inline std::string GuidText(const GUID& g) {
  char text[37];
  std::snprintf(text, sizeof text, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", unsigned(g.Data1), g.Data2,
                g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6],
                g.Data4[7]);
  return text;
}
