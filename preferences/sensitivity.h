// The page's range of wheel sensitivities, which the stored value may exceed.
#pragma once

#include <algorithm>
#include <cstdint>

constexpr uint32_t MaximumSensitivity = 400;

// The trackbar position that shows a stored sensitivity. The stored value is unsigned:
// a value of 0x80000000 or more would reach the trackbar as a negative position.
constexpr uint32_t SensitivityShown(uint32_t stored) { return std::min(stored, MaximumSensitivity); }
