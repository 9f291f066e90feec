// The component's service registry: its factory records, and the single-instance services
// it keeps in them.
#pragma once

#include "host/player/interfaces/client_object.h"
#include "host/player/interfaces/component_services.h"
#include "host/player/interfaces/service.h"

template <class Class>
class service_factory_base_t : public service_factory_base {
 protected:
  service_factory_base_t() : service_factory_base(Class::class_guid) {}
  ~service_factory_base_t() = default;
};

// A static service that lives as long as the library: reference counting does nothing, and
// query succeeds for the GUIDs its interfaces answer to.
template <class T>
class service_impl_single_t final : public T {
 public:
  int service_release() override { return 1; }
  int service_add_ref() override { return 1; }
  bool service_query(service_base*& out, const GUID& guid) override {
    if (!T::handles_class(guid)) return false;
    service_store(out, this);
    return true;
  }
};

// A factory holding its single service object; `Class` names the service class it is listed under.
template <class T, class Class = T>
class service_factory_single_t : public service_factory_base_t<Class> {
 public:
  void instance_create(service_base*& out) override { service_store(out, &instance_); }

 private:
  service_impl_single_t<T> instance_;
};

template <class T>
class initquit_factory_t : public service_factory_single_t<T, initquit> {};

template <class T>
class preferences_page_factory_t : public service_factory_single_t<T, preferences_page> {};
