// Which of the volume bar's 20 frames shows a volume.
#pragma once

#include <string>

constexpr int VolumeFrames = 20;

// Frame k for amplitudes from k/19 up to (k+1)/19: 0 for silence and below about -25.6 dB,
// 19 at 0 dB and, clamped, above it.
int VolumeLevel(float db);

// The volume as the player shows it, for screen readers: whole decibels ("-12 dB", "0 dB"),
// and "muted" at the player's floor of -100 dB and below, as the wheel's silence is.
std::wstring VolumeText(float db);
