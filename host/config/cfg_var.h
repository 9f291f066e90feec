// Persisted configuration variables. Each registers itself at load time in two process-wide
// lists; the host's configuration stream holds one entry per variable:
// GUID (16 bytes), payload size N (32-bit little-endian), N payload bytes.
#pragma once

#include <cstdint>

#include "host/boundary/exceptions.h"
#include "host/player/interfaces/guid.h"
#include "host/config/list.h"
#include "host/player/interfaces/stream.h"

class cfg_var_reader {
 public:
  // `size` is the payload size the entry declares.
  virtual void read_from_stream(stream_reader* stream, uint32_t size, abort_callback* abort) = 0;

  const GUID guid;
  cfg_var_reader* const next;
  static cfg_var_reader* list_head;

 protected:
  explicit cfg_var_reader(const GUID& id) : guid(id), next(list_head) { list_head = this; }
  ~cfg_var_reader() = default;
};

class cfg_var_writer {
 public:
  virtual void write_to_stream(stream_writer* stream, abort_callback* abort) = 0;

  const GUID guid;
  cfg_var_writer* const next;
  static cfg_var_writer* list_head;

 protected:
  explicit cfg_var_writer(const GUID& id) : guid(id), next(list_head) { list_head = this; }
  ~cfg_var_writer() = default;
};

// Joins the front of both lists.
class cfg_var : public cfg_var_reader, public cfg_var_writer {
 protected:
  explicit cfg_var(const GUID& id) : cfg_var_reader(id), cfg_var_writer(id) {}
  ~cfg_var() = default;
};

// Little-endian field I/O shared by the variables' payload formats.
void stream_write_le32(stream_writer* stream, uint32_t value, abort_callback* abort);
void stream_write_le16(stream_writer* stream, uint16_t value, abort_callback* abort);
uint32_t stream_read_le32(stream_reader* stream, abort_callback* abort);
uint16_t stream_read_le16(stream_reader* stream, abort_callback* abort);

template <class T>
class cfg_int_t;

template <>
class cfg_int_t<unsigned int> : public cfg_var {
 public:
  cfg_int_t(const GUID& id, unsigned int initial) : cfg_var(id), value_(initial) {}

  operator unsigned int() const { return value_; }
  cfg_int_t& operator=(unsigned int value) {
    value_ = value;
    return *this;
  }

  void read_from_stream(stream_reader* stream, uint32_t, abort_callback* abort) override {
    value_ = stream_read_le32(stream, abort);
  }
  void write_to_stream(stream_writer* stream, abort_callback* abort) override {
    stream_write_le32(stream, value_, abort);
  }

 private:
  unsigned int value_;
};

// Payload: item count K, then K items of cfg_item_size<T> bytes each, written and read by
// cfg_item_write / cfg_item_read.
template <class T>
class cfg_objList : public cfg_var, public list_t<T> {
 public:
  explicit cfg_objList(const GUID& id) : cfg_var(id) {}

  void write_to_stream(stream_writer* stream, abort_callback* abort) override {
    stream_write_le32(stream, static_cast<uint32_t>(this->get_count()), abort);
    for (const T& item : *this) cfg_item_write(stream, item, abort);
  }

  void read_from_stream(stream_reader* stream, uint32_t size, abort_callback* abort) override;
};

// The stored size of one list item.
template <class T>
inline constexpr uint32_t cfg_item_size = 0;

template <class T>
void cfg_objList<T>::read_from_stream(stream_reader* stream, uint32_t size, abort_callback* abort) {
  static_assert(cfg_item_size<T> > 0, "cfg_objList needs the stored size of its item type");
  this->remove_all();
  try {
    const uint32_t count = stream_read_le32(stream, abort);
    // A count the payload cannot hold is truncated data; it never sizes an allocation, and the
    // list grows only with items actually read.
    if (size < 4 || count > (size - 4) / cfg_item_size<T>) throw quorbel_io::exception_io_data_truncation();
    for (uint32_t i = 0; i < count; ++i) {
      T item;
      cfg_item_read(stream, item, abort);
      this->add_item(item);
    }
  } catch (...) {
    this->remove_all();
    throw;
  }
}

// Writes and reads a whole configuration: every registered variable, in list order.
void write_configuration(stream_writer* stream, abort_callback* abort);
void read_configuration(stream_reader* stream, abort_callback* abort);
