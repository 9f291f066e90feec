#include "simulator/stored_config.h"

#include <cstring>

namespace {

constexpr GUID BindingList = {0x440A3A2D, 0x0741, 0x49DA, {0xAA, 0x89, 0xE9, 0xB2, 0x84, 0xFE, 0x10, 0xE2}};

uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// The payload of the first entry for `variable`, as (offset, size); size 0 when absent.
std::pair<size_t, size_t> FindEntry(const std::vector<uint8_t>& config, const GUID& variable) {
  size_t at = 0;
  while (config.size() - at >= 20) {
    const size_t size = Le32(&config[at + 16]);
    if (size > config.size() - at - 20) break;
    if (std::memcmp(&config[at], &variable, 16) == 0) return {at + 20, size};
    at += 20 + size;
  }
  return {0, 0};
}

}  // namespace

std::vector<MouseActionItem> StoredBindings(const std::vector<uint8_t>& config) {
  const auto entry = FindEntry(config, BindingList);
  std::vector<MouseActionItem> items;
  if (entry.second < 4) return items;
  const uint32_t count = Le32(&config[entry.first]);
  if (count > (entry.second - 4) / 24) return items;
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* p = &config[entry.first + 4 + 24 * i];
    MouseActionItem item;
    item.mouseKey = Le32(p);
    item.modifiers = Le32(p + 4);
    std::memcpy(&item.action, p + 8, 16);  // stored in memory form, little-endian
    items.push_back(item);
  }
  return items;
}

uint32_t StoredValue(const std::vector<uint8_t>& config, const GUID& variable, uint32_t fallback) {
  const auto entry = FindEntry(config, variable);
  return entry.second >= 4 ? Le32(&config[entry.first]) : fallback;
}
