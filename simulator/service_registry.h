// The simulated host's API object: the instances of every service class it knows, its own
// and those the loaded component offers.
#pragma once

#include <map>
#include <vector>

#include "host/player/interfaces/host_services.h"

class service_registry final : public host_api_object {
 public:
  service_registry() = default;
  service_registry(const service_registry&) = delete;
  service_registry& operator=(const service_registry&) = delete;
  // Releases the registry's reference to every instance.
  ~service_registry();

  // Adds an instance of `cls`; the registry takes over one reference.
  void Add(const GUID& cls, service_base* instance);
  void Remove(const GUID& cls);

  service_class_handle find_class(const GUID& cls) override;
  bool create_instance(service_base*& out, service_class_handle cls, uint32_t index) override;
  uint32_t count_instances(service_class_handle cls) override;

 private:
  std::map<GUID, std::vector<service_base*>, guid_byte_less> classes_;
};
