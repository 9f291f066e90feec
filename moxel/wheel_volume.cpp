#include "moxel/wheel_volume.h"

#include <cmath>

double WheelAmplitude(float db, int16_t delta, uint32_t lines, uint32_t sensitivity) {
  // Evaluated in exactly this order and precision: the step is proportional to the current
  // amplitude plus a floor, so the first notch out of near silence is a large one.
  const double amp = std::pow(10.0, double(db / 20.0f));
  const uint32_t scaledSensitivity = sensitivity + 10;  // 32-bit unsigned arithmetic
  double next =
      (((((((amp * 0.125 + 0.05) * 0.25) * delta) * double(lines)) * double(scaledSensitivity)) * 0.0078125) / 120.0) +
      amp;
  if (next > 100.0)
    next = 100.0;
  else if (next < 0.0)
    next = 0.0;
  return next;
}

float WheelVolume(float db, int16_t delta, uint32_t lines, uint32_t sensitivity) {
  return float(20.0 * std::log10(WheelAmplitude(db, delta, lines, sensitivity)));
}
