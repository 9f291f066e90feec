// What the component's export hands the host.
#pragma once

#include <cstdint>

#include "component/service_factory.h"
#include "host/player/interfaces/host_services.h"
#include "host/player/interfaces/stream.h"

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
