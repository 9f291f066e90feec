#include "host/boundary/boundary.h"
#include "simulator/player_session.h"

#include <exception>

#include "host/player/interfaces/component_services.h"
#include "simulator/memory_streams.h"
#include "simulator/profile_store.h"

player_session::player_session(const std::wstring& componentPath, const std::wstring& profileFolder)
    : component(host, componentPath), profile_(profileFolder) {
  CreateDirectoryW(profile_.c_str(), nullptr);
}

std::string player_session::LoadConfiguration() {
  const std::wstring path = configuration_path();
  memory_reader stream(ReadProfileFile(path));
  abort_flag abort;
  try {
    boundary::call([&] { component.client().config_read(&stream, &abort); });
    return {};
  } catch (const std::exception& error) {
    CopyFileW(path.c_str(), (path + L".unreadable").c_str(), FALSE);
    return error.what();
  }
}

void player_session::SaveConfiguration() {
  memory_writer stream;
  abort_flag abort;
  boundary::call([&] { component.client().config_write(&stream, &abort); });
  SaveProfileFile(configuration_path(), stream.bytes());
}

namespace {
template <class Call>
void ForEachInitQuit(service_registry& api, Call call) {
  const service_class_handle services = api.find_class(initquit::class_guid);
  service_base* instance = nullptr;
  for (uint32_t i = 0; api.create_instance(instance, services, i); ++i) call(*static_cast<initquit*>(instance));
  if (instance) instance->service_release();
}
}  // namespace

void player_session::RunInitServices() {
  ForEachInitQuit(host.api(), [](initquit& service) { boundary::call([&] { service.on_init(); }); });
}

void player_session::RunQuitServices() {
  ForEachInitQuit(host.api(), [](initquit& service) { boundary::call([&] { service.on_quit(); }); });
}
