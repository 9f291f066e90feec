// One run of the simulated player with a component: load, read its configuration from the
// profile folder, and save it back.
#pragma once

#include <string>

#include "simulator/component_host.h"
#include "simulator/simulated_host.h"

class player_session {
 public:
  static constexpr const wchar_t* ConfigurationName = L"moxel_control.cfg";

  player_session(const std::wstring& componentPath, const std::wstring& profileFolder);

  // Hands the stored configuration to the component. A configuration the component rejects
  // is kept beside the original as "<name>.unreadable" before anything can overwrite it;
  // the answer is then the component's message, otherwise empty.
  std::string LoadConfiguration();

  // Calls on_init, or on_quit, of every init/quit service the host has.
  void RunInitServices();
  void RunQuitServices();

  // Asks the component for its configuration and replaces the stored file in one step.
  void SaveConfiguration();

  std::wstring configuration_path() const { return profile_ + L"\\" + ConfigurationName; }

  simulated_host host;
  loaded_component component;

 private:
  std::wstring profile_;
};
