#include "volumebar/volume_level.h"

#include <cmath>

int VolumeLevel(float db) {
  const double frame = 19.0 * std::pow(10.0, double(db / 20.0f));
  // Also catches NaN, whose conversion to int would be undefined.
  if (!(frame >= 0.0)) return 0;
  if (frame >= VolumeFrames - 1) return VolumeFrames - 1;
  return int(frame);
}
