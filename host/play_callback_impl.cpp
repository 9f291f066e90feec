#include "host/play_callback_impl.h"

#include "host/boundary.h"
#include "host/service_lookup.h"

play_callback_impl_base::play_callback_impl_base() {
  service_ptr_t<play_callback_manager> manager;
  service_lookup_t(manager);
  boundary::call([&] { manager->register_callback(this, 0xFFFFFFFF, false); });
}

play_callback_impl_base::~play_callback_impl_base() {
  // A destructor cannot report a failure; a host that has lost its manager since the
  // registration has no list left to take this listener out of.
  try {
    service_ptr_t<play_callback_manager> manager;
    service_lookup_t(manager);
    boundary::call([&] { manager->unregister_callback(this); });
  } catch (...) {
  }
}
