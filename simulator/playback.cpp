#include "simulator/playback.h"

#include <algorithm>
#include <cmath>

#include "host/boundary/boundary.h"

void play_callback_registry::register_callback(play_callback* callback, uint32_t, bool) {
  if (callback && std::find(listeners_.begin(), listeners_.end(), callback) == listeners_.end())
    listeners_.push_back(callback);
}

void play_callback_registry::unregister_callback(play_callback* callback) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), callback), listeners_.end());
}

void play_callback_registry::NotifyVolume(float db) {
  // A listener may unregister itself while being told.
  const std::vector<play_callback*> listeners = listeners_;
  for (play_callback* listener : listeners) boundary::call([&] { listener->on_volume_change(db); });
}

void simulated_playback::set_volume(float db) {
  ++set_volume_calls_;
  if (std::isnan(db)) return;
  const float clamped = std::min(MaximumDb, std::max(MinimumDb, db));
  if (clamped == volume_) return;
  volume_ = clamped;
  listeners_.NotifyVolume(volume_);
}
