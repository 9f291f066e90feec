#include "volumebar/volume_level.h"

#include <cmath>

int VolumeLevel(float db) {
  const double frame = 19.0 * std::pow(10.0, double(db / 20.0f));
  // Also catches NaN, whose conversion to int would be undefined.
  if (!(frame >= 0.0)) return 0;
  if (frame >= VolumeFrames - 1) return VolumeFrames - 1;
  return int(frame);
}

std::wstring VolumeText(float db) {
  if (!(db > -100.0f)) return L"muted";  // NaN as well
  long value = std::lround(std::fmin(db, 999.0f));
  std::wstring text = value < 0 ? L"-" : value > 0 ? L"+" : L"";
  if (value < 0) value = -value;
  wchar_t digits[4];
  int count = 0;
  do {
    digits[count++] = wchar_t(L'0' + value % 10);
    value /= 10;
  } while (value);
  while (count) text += digits[--count];
  return text + L" dB";
}
