#include "simulator/player_session.h"

#include <exception>

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
    component.client().config_read(&stream, &abort);
    return {};
  } catch (const std::exception& error) {
    CopyFileW(path.c_str(), (path + L".unreadable").c_str(), FALSE);
    return error.what();
  }
}

void player_session::SaveConfiguration() {
  memory_writer stream;
  abort_flag abort;
  component.client().config_write(&stream, &abort);
  SaveProfileFile(configuration_path(), stream.bytes());
}
