#include "host/config/cfg_var.h"

#include <cstring>
#include <map>
#include <vector>

#include "host/boundary/boundary.h"
#include "host/boundary/exceptions.h"

cfg_var_reader* cfg_var_reader::list_head = nullptr;
cfg_var_writer* cfg_var_writer::list_head = nullptr;

void stream_write_le32(stream_writer* stream, uint32_t value, abort_callback* abort) {
  const uint8_t bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
  stream->write(bytes, sizeof bytes, abort);
}

void stream_write_le16(stream_writer* stream, uint16_t value, abort_callback* abort) {
  const uint8_t bytes[2] = {uint8_t(value), uint8_t(value >> 8)};
  stream->write(bytes, sizeof bytes, abort);
}

uint32_t stream_read_le32(stream_reader* stream, abort_callback* abort) {
  uint8_t b[4];
  stream->read_object(b, sizeof b, abort);
  return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

uint16_t stream_read_le16(stream_reader* stream, abort_callback* abort) {
  uint8_t b[2];
  stream->read_object(b, sizeof b, abort);
  return uint16_t(b[0] | b[1] << 8);
}

namespace {

void encode_guid(uint8_t out[16], const GUID& id) {
  const uint32_t d1 = id.Data1;
  const uint8_t head[8] = {uint8_t(d1),       uint8_t(d1 >> 8),       uint8_t(d1 >> 16), uint8_t(d1 >> 24),
                           uint8_t(id.Data2), uint8_t(id.Data2 >> 8), uint8_t(id.Data3), uint8_t(id.Data3 >> 8)};
  std::memcpy(out, head, 8);
  std::memcpy(out + 8, id.Data4, 8);
}

GUID decode_guid(const uint8_t in[16]) {
  GUID id;
  id.Data1 = uint32_t(in[0]) | uint32_t(in[1]) << 8 | uint32_t(in[2]) << 16 | uint32_t(in[3]) << 24;
  id.Data2 = uint16_t(in[4] | in[5] << 8);
  id.Data3 = uint16_t(in[6] | in[7] << 8);
  std::memcpy(id.Data4, in + 8, 8);
  return id;
}

bool aborting(abort_callback* abort) {
  return abort && boundary::call([&] { return abort->is_aborting(); });
}

// The host's streams, each call made through the boundary's gate.
class host_writer final : public stream_writer {
 public:
  explicit host_writer(stream_writer* stream) : stream_(stream) {}

  void write(const void* buffer, size_t bytes, abort_callback* abort) override {
    boundary::call([&] { stream_->write(buffer, bytes, abort); });
  }

 private:
  stream_writer* stream_;
};

class host_reader final : public stream_reader {
 public:
  explicit host_reader(stream_reader* stream) : stream_(stream) {}

  size_t read(void* buffer, size_t bytes, abort_callback* abort) override {
    return boundary::call([&] { return stream_->read(buffer, bytes, abort); });
  }
  void read_object(void* buffer, size_t bytes, abort_callback* abort) override {
    boundary::call([&] { stream_->read_object(buffer, bytes, abort); });
  }
  uint64_t skip(uint64_t bytes, abort_callback* abort) override {
    return boundary::call([&] { return stream_->skip(bytes, abort); });
  }
  void skip_object(uint64_t bytes, abort_callback* abort) override {
    boundary::call([&] { stream_->skip_object(bytes, abort); });
  }

 private:
  stream_reader* stream_;
};

// Collects one variable's payload so that its size can precede it in the host stream.
class buffer_writer final : public stream_writer {
 public:
  explicit buffer_writer(std::vector<uint8_t>& buffer) : buffer_(buffer) {}

  void write(const void* data, size_t bytes, abort_callback* abort) override {
    if (aborting(abort)) throw quorbel_io::exception_aborted();
    const uint64_t length = uint64_t(buffer_.size()) + bytes;
    if (length > UINT32_MAX) throw bad_allocation();
    if (length > buffer_.capacity()) {
      uint64_t capacity = buffer_.capacity() ? buffer_.capacity() : 1;
      while (capacity < length) {
        capacity *= 2;
        if (capacity > UINT32_MAX) throw bad_allocation();
      }
      buffer_.reserve(size_t(capacity));
    }
    const uint8_t* begin = static_cast<const uint8_t*>(data);
    buffer_.insert(buffer_.end(), begin, begin + bytes);
  }

 private:
  std::vector<uint8_t>& buffer_;
};

// Lets a variable read no further than its entry's payload.
class limited_reader final : public stream_reader {
 public:
  limited_reader(stream_reader* inner, uint64_t remaining) : inner_(inner), remaining_(remaining) {}

  uint64_t remaining() const { return remaining_; }

  size_t read(void* buffer, size_t bytes, abort_callback* abort) override {
    if (bytes > remaining_) bytes = size_t(remaining_);
    // A host stream claiming more than it was asked for is not believed beyond the request.
    size_t got = bytes ? inner_->read(buffer, bytes, abort) : 0;
    if (got > bytes) got = bytes;
    remaining_ -= got;
    return got;
  }

  void read_object(void* buffer, size_t bytes, abort_callback* abort) override {
    if (read(buffer, bytes, abort) != bytes) throw quorbel_io::exception_io_data_truncation();
  }

  uint64_t skip(uint64_t bytes, abort_callback* abort) override {
    if (bytes > remaining_) bytes = remaining_;
    uint64_t got = bytes ? inner_->skip(bytes, abort) : 0;
    if (got > bytes) got = bytes;
    remaining_ -= got;
    return got;
  }

  void skip_object(uint64_t bytes, abort_callback* abort) override {
    if (skip(bytes, abort) != bytes) throw quorbel_io::exception_io_data_truncation();
  }

 private:
  stream_reader* inner_;
  uint64_t remaining_;
};

}  // namespace

void write_configuration(stream_writer* hostStream, abort_callback* abort) {
  host_writer host(hostStream);
  stream_writer* const stream = &host;
  std::vector<uint8_t> buffer;
  for (cfg_var_writer* var = cfg_var_writer::list_head; var; var = var->next) {
    buffer.clear();
    buffer_writer payload(buffer);
    var->write_to_stream(&payload, abort);
    uint8_t id[16];
    encode_guid(id, var->guid);
    stream->write(id, sizeof id, abort);
    stream_write_le32(stream, uint32_t(buffer.size()), abort);
    if (!buffer.empty()) stream->write(buffer.data(), buffer.size(), abort);
  }
}

void read_configuration(stream_reader* hostStream, abort_callback* abort) {
  host_reader host(hostStream);
  stream_reader* const stream = &host;
  // Later insertions win, so of two variables sharing a GUID the one registered first reads.
  std::map<GUID, cfg_var_reader*, guid_byte_less> readers;
  for (cfg_var_reader* var = cfg_var_reader::list_head; var; var = var->next) readers[var->guid] = var;

  for (;;) {
    uint8_t id[16];
    if (stream->read(id, sizeof id, abort) < sizeof id) return;
    const uint32_t size = stream_read_le32(stream, abort);
    const auto found = readers.find(decode_guid(id));
    if (found == readers.end()) {
      stream->skip_object(size, abort);
      continue;
    }
    limited_reader payload(stream, size);
    try {
      found->second->read_from_stream(&payload, size, abort);
    } catch (const quorbel_io::exception_io_data&) {
      // A payload too short for its variable: the variable keeps what its read left.
    }
    const uint64_t rest = payload.remaining();
    if (rest && payload.skip(rest, abort) != rest) throw quorbel_io::exception_io_data_truncation();
  }
}
