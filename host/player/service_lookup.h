// Lookup of host services by class GUID through the host API object that the export stored.
#pragma once

#include "host/player/interfaces/host_services.h"

// Null until the host has called the export.
extern host_api_object* g_host_api;

// Stores the one instance of `cls` in `out`. Throws exception_service_not_found when the
// host has none (or has not handed over its API object yet) and exception_service_duplicated
// when it has several; `out` is left untouched then.
void service_lookup(service_base*& out, const GUID& cls);

template <class T>
void service_lookup_t(service_ptr_t<T>& out) {
  service_base* found = nullptr;
  service_lookup(found, T::class_guid);
  out.attach(static_cast<T*>(found));
}
