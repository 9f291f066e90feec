// Stream and abort-signal interfaces through which the host hands over its configuration.
#pragma once

#include <cstddef>
#include <cstdint>

class abort_callback {
 public:
  virtual bool is_aborting() const = 0;  // [0]

 protected:
  ~abort_callback() = default;
};

class stream_reader {
 public:
  // Returns the number of bytes read; fewer than asked only at the end of the data.
  virtual size_t read(void* buffer, size_t bytes, abort_callback* abort) = 0;  // [0]
  // Reads exactly `bytes` bytes or throws.
  virtual void read_object(void* buffer, size_t bytes, abort_callback* abort) = 0;  // [1]
  virtual uint64_t skip(uint64_t bytes, abort_callback* abort) = 0;                 // [2]
  // Skips exactly `bytes` bytes or throws.
  virtual void skip_object(uint64_t bytes, abort_callback* abort) = 0;  // [3]

 protected:
  ~stream_reader() = default;
};

class stream_writer {
 public:
  // Writes every byte or throws.
  virtual void write(const void* buffer, size_t bytes, abort_callback* abort) = 0;  // [0]

 protected:
  ~stream_writer() = default;
};
