// Configuration write then read through the loaded component, per binding, at three list
// sizes, against a plain copy of the same bytes.
#include <cstdio>
#include <cstring>

#include "bench_support.h"
#include "simulator/component_host.h"
#include "simulator/memory_streams.h"

namespace {

std::vector<uint8_t> StreamWithBindings(uint32_t count) {
  const uint8_t list[16] = {0x2D, 0x3A, 0x0A, 0x44, 0x41, 0x07, 0xDA, 0x49,
                            0xAA, 0x89, 0xE9, 0xB2, 0x84, 0xFE, 0x10, 0xE2};
  std::vector<uint8_t> bytes(list, list + 16);
  const uint32_t size = 4 + 24 * count;
  bytes.resize(20 + size_t(size));
  std::memcpy(&bytes[16], &size, 4);
  std::memcpy(&bytes[20], &count, 4);
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t item[6] = {1 + i % 7, (i % 2) * 4, i, 0x12345678, 0x9ABCDEF0, i * 31};
    std::memcpy(&bytes[24 + size_t(i) * 24], item, 24);
  }
  return bytes;
}

}  // namespace

int main() {
  simulated_host host;
  loaded_component component(host, BinFolder() + L"\\moxel_control.dll");
  abort_flag abort;
  std::printf("%10s %14s %14s %8s\n", "bindings", "ns/binding", "copy ns/bind", "ratio");
  for (uint32_t count : {1000u, 100000u, 1000000u}) {
    const std::vector<uint8_t> input = StreamWithBindings(count);
    const int rounds = count >= 1000000 ? 3 : 10;
    size_t written = 0;
    const double roundTrip = Fastest(rounds, [&] {
      memory_reader in(input);
      component.client().config_read(&in, &abort);
      memory_writer out;
      component.client().config_write(&out, &abort);
      written = out.bytes().size();
    });
    std::vector<uint8_t> copy(input.size());
    const double plainCopy = Fastest(rounds, [&] {
      std::vector<uint8_t> source(input);  // the same allocation and copy a stream round trip implies
      std::memcpy(copy.data(), source.data(), source.size());
    });
    std::printf("%10u %14.1f %14.2f %8.1f   (%u bytes written)\n", count, roundTrip * 1e9 / count,
                plainCopy * 1e9 / count, roundTrip / plainCopy, unsigned(written));
  }
  return 0;
}
