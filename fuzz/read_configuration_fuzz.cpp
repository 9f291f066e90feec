// Reads arbitrary bytes as a configuration. Beyond the sanitizers' checks: the read never
// fails with anything but the stream's own truncation, and every variable ends either at its
// previous value or at a value that the stream holds (a list rejected as damaged ends empty).
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "host/config/config_vars.h"
#include "simulator/memory_streams.h"

namespace {

bool Holds(const uint8_t* data, size_t size, const void* value, size_t length) {
  const uint8_t* bytes = static_cast<const uint8_t*>(value);
  return std::search(data, data + size, bytes, bytes + length) != data + size;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

bool SameItems(const list_t<MouseActionItem>& a, const std::vector<MouseActionItem>& b) {
  return a.get_count() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](const auto& x, const auto& y) {
           return std::memcmp(&x, &y, sizeof x) == 0;
         });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A recognisable starting state, so that a value taken from the stream can be told apart.
  cfg_wheel_sensitivity = 0x5EED0001;
  cfg_defaults_applied = 0x5EED0002;
  cfg_mouse_actions.remove_all();
  cfg_mouse_actions.add_item({0x5EED0003, 0x5EED0004, GUID{0x5EED0005, 0, 0, {}}});
  const std::vector<MouseActionItem> before(cfg_mouse_actions.begin(), cfg_mouse_actions.end());

  memory_reader stream(std::vector<uint8_t>(data, data + size));
  abort_flag abort;
  try {
    read_configuration(&stream, &abort);
  } catch (const quorbel_io::exception_io_data_truncation&) {
  }

  for (const cfg_int_t<unsigned int>* var : {&cfg_wheel_sensitivity, &cfg_defaults_applied}) {
    const unsigned int value = *var;
    const uint8_t le[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
    Check(value == 0x5EED0001 || value == 0x5EED0002 || Holds(data, size, le, 4));
  }
  if (!SameItems(cfg_mouse_actions, before)) {
    for (const MouseActionItem& item : cfg_mouse_actions) Check(Holds(data, size, &item, sizeof item));
  }
  return 0;
}
