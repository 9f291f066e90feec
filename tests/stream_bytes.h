// Configuration stream bytes for tests: hex text, little-endian fields, whole entries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/config/mouse_action.h"

// Builds stream bytes from hex text ("9D BF ..."; spaces and commas ignored).
inline std::vector<uint8_t> Hex(const std::string& text) {
  std::vector<uint8_t> bytes;
  int pending = -1;
  for (char c : text) {
    int nibble = (c >= '0' && c <= '9')   ? c - '0'
                 : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                 : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                                          : -1;
    if (nibble < 0) continue;
    if (pending < 0) {
      pending = nibble;
    } else {
      bytes.push_back(uint8_t(pending << 4 | nibble));
      pending = -1;
    }
  }
  return bytes;
}

inline std::vector<uint8_t> operator+(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

inline std::vector<uint8_t> Le32(uint32_t v) {
  return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
}

// The stored GUID bytes of the variables.
inline const std::vector<uint8_t> SensitivityId = Hex("9D BF BD 46 8C 9A CB 48 A5 A1 BC 84 26 5C C9 CD");
inline const std::vector<uint8_t> FlagId = Hex("70 3A 36 88 BA 55 0B 42 A4 0F 92 EF 01 73 F4 6D");
inline const std::vector<uint8_t> ListId = Hex("2D 3A 0A 44 41 07 DA 49 AA 89 E9 B2 84 FE 10 E2");
inline const std::vector<uint8_t> CornerId = Hex("72 62 25 12 78 37 9B 4E 83 BE D0 51 47 04 7E EC");
inline const std::vector<uint8_t> ScreenId = Hex("0A 55 F1 3F EE 74 E3 4E BA AB 1A BC 21 8E 4F CB");
inline const std::vector<uint8_t> FullscreenId = Hex("1F 92 6F 4E 3A DF 50 4D B2 F5 AF 38 BF CC 39 EC");

inline std::vector<uint8_t> Entry(const std::vector<uint8_t>& id, const std::vector<uint8_t>& payload) {
  return id + Le32(uint32_t(payload.size())) + payload;
}

// A list entry's payload holding `items`.
inline std::vector<uint8_t> ListPayload(const std::vector<MouseActionItem>& items) {
  std::vector<uint8_t> payload = Le32(uint32_t(items.size()));
  for (const MouseActionItem& item : items) {
    payload = payload + Le32(item.mouseKey) + Le32(item.modifiers);
    const uint8_t* action = reinterpret_cast<const uint8_t*>(&item.action);  // memory form, little-endian
    payload.insert(payload.end(), action, action + 16);
  }
  return payload;
}
