// Loads a component library the way the player does and lists its services with the host.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "host/player/interfaces/client_object.h"
#include "simulator/simulated_host.h"

class loaded_component {
 public:
  // Loads the library, calls its export with the host's API object, hands over the player's
  // texts and flag, and adds every service the component lists to the host's registry.
  // Throws std::runtime_error when the library or its export cannot be had.
  loaded_component(simulated_host& host, const std::wstring& path);
  loaded_component(const loaded_component&) = delete;
  loaded_component& operator=(const loaded_component&) = delete;
  // Takes the component's services out of the registry, then unloads the library.
  ~loaded_component();

  client_object& client() { return *client_; }
  HMODULE module() const { return module_; }
  const std::vector<service_factory_base*>& factories() const { return factories_; }
  quorbel_get_interface_proc entry() const { return entry_; }

 private:
  simulated_host& host_;
  HMODULE module_ = nullptr;
  quorbel_get_interface_proc entry_ = nullptr;
  client_object* client_ = nullptr;
  std::vector<service_factory_base*> factories_;
};

// The text the player hands a component as its file name: the library's name without folder.
std::string ComponentFileName(const std::wstring& path);
