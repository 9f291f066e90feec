// The service object model shared with the host: counted services, narrow text objects,
// and an owning reference that releases on every path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

#include "host/boundary/handle_link.h"
#include "host/player/interfaces/guid.h"

class service_base {
 public:
  virtual int service_release() = 0;                                     // [0]
  virtual int service_add_ref() = 0;                                     // [1]
  virtual bool service_query(service_base*& out, const GUID& guid) = 0;  // [2]

 protected:
  ~service_base() = default;
};

class string_base {
 public:
  virtual void add_string(const char* text, size_t length) = 0;  // [0] append
  virtual const char* get_ptr() const = 0;                       // [1]
  virtual void set_string(const char* text, size_t length) = 0;  // [2]
  virtual void truncate(size_t length) = 0;                      // [3]
  virtual size_t get_length() const = 0;                         // [4]
  virtual char* lock_buffer(size_t length) = 0;                  // [5]
  virtual void unlock_buffer() = 0;                              // [6]

 protected:
  ~string_base() = default;
};

// Stores `service` in the caller's out-reference slot: add-references it first, then
// releases what the slot held.
inline void service_store(service_base*& slot, service_base* service) {
  service->service_add_ref();
  if (slot) slot->service_release();
  slot = service;
}

// One counted reference to a service, released when the owner goes out of scope. Every
// counted reference the component takes is held by one of these.
template <class T>
class service_ptr_t : private service_handle_link {
 public:
  service_ptr_t() noexcept : service_handle_link(&Release) {}
  service_ptr_t(const service_ptr_t&) = delete;
  service_ptr_t& operator=(const service_ptr_t&) = delete;
  service_ptr_t(service_ptr_t&& other) noexcept : service_ptr_t() { ptr_ = other.detach(); }
  service_ptr_t& operator=(service_ptr_t&& other) noexcept {
    attach(other.detach());
    return *this;
  }
  ~service_ptr_t() { reset(); }

  // A new reference of the caller's own to `p` (which may be null).
  static service_ptr_t share(T* p) {
    if (p) p->service_add_ref();
    service_ptr_t shared;
    shared.ptr_ = p;
    return shared;
  }

  T* get() const { return ptr_; }
  T* operator->() const { return ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }

  // The slot a host call fills with a counted reference, releasing what the slot held.
  T*& receive() { return ptr_; }

  // Takes over a reference the caller already owns.
  void attach(T* p) {
    reset();
    ptr_ = p;
  }

  // Hands the reference over to the caller.
  T* detach() { return std::exchange(ptr_, nullptr); }

  void reset() {
    if (T* p = detach()) p->service_release();
  }

 private:
  static void Release(service_handle_link& link) { static_cast<service_ptr_t&>(link).reset(); }

  T* ptr_ = nullptr;
};
