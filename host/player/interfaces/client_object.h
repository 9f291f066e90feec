// What the component's export hands the host, and the service registry's records that the
// host walks. A factory record's layout is read by the host directly: table pointer, next
// record, pointer to the service class GUID, in that order.
#pragma once

#include <cstdint>

#include "host/player/interfaces/host_services.h"
#include "host/player/interfaces/service.h"
#include "host/player/interfaces/stream.h"

class service_factory_base {
 public:
  virtual void instance_create(service_base*& out) = 0;  // [0]

  service_factory_base* get_next() const { return next_; }
  const GUID& get_class_guid() const { return *class_guid_; }

  // Head of the component's service list; each factory joins at the front when constructed.
  static service_factory_base* list_head;

 protected:
  explicit service_factory_base(const GUID& cls) : next_(list_head), class_guid_(&cls) { list_head = this; }
  ~service_factory_base() = default;

 private:
  service_factory_base* next_;
  const GUID* class_guid_;
};

class client_object {
 public:
  virtual uint32_t get_version() = 0;                                           // [0]
  virtual service_factory_base* get_service_list() = 0;                         // [1]
  virtual void config_write(stream_writer* stream, abort_callback* abort) = 0;  // [2]
  virtual void config_read(stream_reader* stream, abort_callback* abort) = 0;   // [3]
  virtual void set_texts(const char* first, const char* second) = 0;            // [4]
  virtual void set_flag(bool value) = 0;                                        // [5]
  virtual bool is_debug() = 0;                                                  // [6]

 protected:
  ~client_object() = default;
};

constexpr uint32_t ClientObjectVersion = 78;

// The export's signature, looked up by its plain name "quorbel_get_interface".
typedef client_object* (*quorbel_get_interface_proc)(host_api_object* api, void* context);
