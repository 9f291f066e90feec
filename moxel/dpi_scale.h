// How large the moxel and its volume bar are drawn on a monitor of a given pixel density.
#pragma once

// The density the artwork is drawn for, one artwork pixel to one screen pixel.
constexpr unsigned ArtworkDpi = 96;

// The whole number of screen pixels, across and down, that one artwork pixel covers at `dpi`:
// the nearest multiple of ArtworkDpi, a half rounding up, so that every pixel stays a crisp
// square and no window is smaller on the screen than the density asks for by more than a
// quarter. An unknown density (0) and anything below 144 give 1; at most 8 (768 dpi), far
// beyond any monitor, which keeps the windows' sizes small numbers.
int ArtworkScale(unsigned dpi);
