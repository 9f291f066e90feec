#include "host/player/service_lookup.h"

#include "host/boundary/boundary.h"
#include "host/boundary/exceptions.h"

host_api_object* g_host_api = nullptr;

void service_lookup(service_base*& out, const GUID& cls) {
  if (!g_host_api) throw exception_service_not_found();
  host_api_object& api = *g_host_api;
  const service_class_handle handle = boundary::call([&] { return api.find_class(cls); });
  const uint32_t count = boundary::call([&] { return api.count_instances(handle); });
  if (count == 0) throw exception_service_not_found();
  if (count > 1) throw exception_service_duplicated();
  // A host that claims one instance but hands back none has no usable service either;
  // reporting it keeps callers from calling through a null reference.
  service_ptr_t<service_base> found;
  boundary::call([&] { return api.create_instance(found.receive(), handle, 0); });
  if (!found) throw exception_service_not_found();
  if (out) out->service_release();
  out = found.detach();
}
