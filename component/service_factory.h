// The service registry records that the host walks, and the single-instance services the
// component keeps in them. A factory record's layout is read by the host directly:
// table pointer, next record, pointer to the service class GUID, in that order.
#pragma once

#include "host/player/interfaces/component_services.h"
#include "host/player/interfaces/service.h"

class service_factory_base {
 public:
  virtual void instance_create(service_base*& out) = 0;  // [0]

  service_factory_base* get_next() const { return next_; }
  const GUID& get_class_guid() const { return *class_guid_; }

  // Head of the component's service list; each factory joins at the front when constructed.
  static service_factory_base* list_head;

 protected:
  explicit service_factory_base(const GUID& cls) : next_(list_head), class_guid_(&cls) { list_head = this; }
  ~service_factory_base() = default;

 private:
  service_factory_base* next_;
  const GUID* class_guid_;
};

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
