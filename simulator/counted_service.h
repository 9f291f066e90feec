// Reference-counted host services of the simulated player.
#pragma once

#include "host/player/interfaces/service.h"

// One instance of a host service. The host holds the first reference; the object goes when
// the last reference is released.
template <class Interface>
class counted_service_t : public Interface {
 public:
  int service_add_ref() override { return ++references_; }
  int service_release() override {
    const int left = --references_;
    if (left == 0) delete this;
    return left;
  }
  bool service_query(service_base*& out, const GUID& guid) override {
    if (!Answers(guid)) return false;
    service_store(out, this);
    return true;
  }

  int reference_count() const { return references_; }

 protected:
  virtual bool Answers(const GUID& guid) const { return guid == Interface::class_guid; }
  virtual ~counted_service_t() = default;

 private:
  int references_ = 1;
};
