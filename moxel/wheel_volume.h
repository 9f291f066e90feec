// The volume step of one wheel event over the moxel.
#pragma once

#include <cstdint>

// The amplitude after a wheel event of `delta` (positive away from the user) from `db`,
// with `lines` wheel-scroll lines and the user's `sensitivity`; clamped to 0 .. 100.
double WheelAmplitude(float db, int16_t delta, uint32_t lines, uint32_t sensitivity);

// The same step as a volume in dB: negative infinity for silence, up to +40 dB.
float WheelVolume(float db, int16_t delta, uint32_t lines, uint32_t sensitivity);
