#include "moxel/dpi_scale.h"

int ArtworkScale(unsigned dpi) {
  constexpr unsigned LargestScale = 8;
  if (dpi >= LargestScale * ArtworkDpi) return LargestScale;
  const unsigned scale = (dpi + ArtworkDpi / 2) / ArtworkDpi;
  return scale ? int(scale) : 1;
}
