// A playback listener registered with the host for as long as it exists. Every event but
// the volume change is ignored; counted references handed with events are released.
#pragma once

#include "host/host_services.h"

class play_callback_impl_base : public play_callback {
 public:
  // Registers with the host's play callback manager; throws when the host has none.
  play_callback_impl_base();
  play_callback_impl_base(const play_callback_impl_base&) = delete;
  play_callback_impl_base& operator=(const play_callback_impl_base&) = delete;

  void on_playback_starting(uint32_t, uint32_t) override {}
  void on_playback_new_track(service_base* track) override { Release(track); }
  void on_playback_stop(uint32_t) override {}
  void on_playback_seek(double) override {}
  void on_playback_pause(uint32_t) override {}
  void on_playback_edited(service_base* track) override { Release(track); }
  void on_playback_dynamic_info(const void*) override {}
  void on_playback_dynamic_info_track(const void*) override {}
  void on_playback_time(double) override {}
  void on_volume_change(float) override {}

 protected:
  // Unregisters from the host.
  ~play_callback_impl_base();

 private:
  static void Release(service_base* reference) {
    if (reference) reference->service_release();
  }
};
