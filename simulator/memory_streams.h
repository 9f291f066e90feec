// The simulated host's configuration streams: a reader over bytes and a growing writer.
#pragma once

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "host/boundary/boundary.h"
#include "host/boundary/exceptions.h"
#include "host/player/interfaces/stream.h"

class abort_flag final : public abort_callback {
 public:
  bool is_aborting() const override { return aborting; }
  bool aborting = false;
};

class memory_reader final : public stream_reader {
 public:
  explicit memory_reader(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

  size_t read(void* buffer, size_t bytes, abort_callback*) override {
    const size_t count = std::min(bytes, bytes_.size() - position_);
    if (count) std::memcpy(buffer, bytes_.data() + position_, count);
    position_ += count;
    return count;
  }
  void read_object(void* buffer, size_t bytes, abort_callback* abort) override {
    boundary::serve([&] {
      if (read(buffer, bytes, abort) != bytes) throw quorbel_io::exception_io_data_truncation();
    });
  }
  uint64_t skip(uint64_t bytes, abort_callback*) override {
    const uint64_t count = std::min<uint64_t>(bytes, bytes_.size() - position_);
    position_ += size_t(count);
    return count;
  }
  void skip_object(uint64_t bytes, abort_callback* abort) override {
    boundary::serve([&] {
      if (skip(bytes, abort) != bytes) throw quorbel_io::exception_io_data_truncation();
    });
  }

 private:
  std::vector<uint8_t> bytes_;
  size_t position_ = 0;
};

class memory_writer final : public stream_writer {
 public:
  void write(const void* buffer, size_t bytes, abort_callback*) override {
    const uint8_t* begin = static_cast<const uint8_t*>(buffer);
    bytes_.insert(bytes_.end(), begin, begin + bytes);
  }
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};
