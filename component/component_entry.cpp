#include "component/component_entry.h"

#include "host/boundary/boundary.h"
#include "host/config/cfg_var.h"
#include "host/player/service_lookup.h"

service_factory_base* service_factory_base::list_head = nullptr;

namespace {

std::string g_first_text;
std::string g_second_text;
bool g_flag = false;
bool g_flag_ever_set = false;
void* g_context = nullptr;  // handed over by the host; nothing here reads it

class client_object_impl final : public client_object {
 public:
  uint32_t get_version() override { return ClientObjectVersion; }
  service_factory_base* get_service_list() override { return service_factory_base::list_head; }
  void config_write(stream_writer* stream, abort_callback* abort) override {
    boundary::serve([&] { write_configuration(stream, abort); });
  }
  void config_read(stream_reader* stream, abort_callback* abort) override {
    boundary::serve([&] { read_configuration(stream, abort); });
  }
  void set_texts(const char* first, const char* second) override {
    boundary::serve([&] {
      g_first_text = first ? first : "";
      g_second_text = second ? second : "";
    });
  }
  void set_flag(bool value) override {
    g_flag = value;
    g_flag_ever_set = g_flag_ever_set || value;
  }
  bool is_debug() override { return false; }
};

client_object_impl g_client_object;

}  // namespace

const std::string& ReceivedFileName() { return g_second_text; }

extern "C"
#ifdef _WIN32
    __declspec(dllexport)
#endif
        client_object* quorbel_get_interface(host_api_object* api, void* context) {
  g_host_api = api;
  g_context = context;
  return &g_client_object;
}
