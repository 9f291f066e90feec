#include "simulator/service_registry.h"

namespace {
using instance_list = std::vector<service_base*>;
instance_list* Instances(service_class_handle cls) { return reinterpret_cast<instance_list*>(cls); }
}  // namespace

service_registry::~service_registry() {
  for (auto& entry : classes_) {
    for (service_base* instance : entry.second) instance->service_release();
  }
}

void service_registry::Add(const GUID& cls, service_base* instance) { classes_[cls].push_back(instance); }

void service_registry::Remove(const GUID& cls) {
  const auto found = classes_.find(cls);
  if (found == classes_.end()) return;
  for (service_base* instance : found->second) instance->service_release();
  classes_.erase(found);
}

service_class_handle service_registry::find_class(const GUID& cls) {
  const auto found = classes_.find(cls);
  return found == classes_.end() ? nullptr : reinterpret_cast<service_class_handle>(&found->second);
}

bool service_registry::create_instance(service_base*& out, service_class_handle cls, uint32_t index) {
  if (!cls || index >= Instances(cls)->size()) return false;
  service_store(out, (*Instances(cls))[index]);
  return true;
}

uint32_t service_registry::count_instances(service_class_handle cls) {
  return cls ? uint32_t(Instances(cls)->size()) : 0;
}
