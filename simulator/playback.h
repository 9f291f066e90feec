// The simulated player's volume and the listeners it tells of volume changes.
#pragma once

#include <vector>

#include "host/player/interfaces/host_services.h"
#include "simulator/counted_service.h"

class play_callback_registry final : public counted_service_t<play_callback_manager> {
 public:
  void register_callback(play_callback* callback, uint32_t flags, bool forward_status) override;
  void unregister_callback(play_callback* callback) override;

  void NotifyVolume(float db);
  size_t listener_count() const { return listeners_.size(); }

 private:
  std::vector<play_callback*> listeners_;
};

class simulated_playback final : public counted_service_t<playback_control> {
 public:
  static constexpr float MinimumDb = -100.0f;
  static constexpr float MaximumDb = 0.0f;

  // Holds a reference to `listeners` for as long as it exists.
  simulated_playback(play_callback_registry& listeners, float db) : listeners_(listeners), volume_(db) {
    listeners_.service_add_ref();
  }
  ~simulated_playback() override { listeners_.service_release(); }

  // Brings any value, infinities included, to the nearest end of the host's range.
  void set_volume(float db) override;
  float get_volume() override { return volume_; }

  int set_volume_calls() const { return set_volume_calls_; }

 private:
  play_callback_registry& listeners_;
  float volume_;
  int set_volume_calls_ = 0;
};
