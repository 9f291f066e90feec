// How large the moxel and its volume bar are drawn on a monitor of a given pixel density.
#pragma once

// The density the artwork is drawn for, one artwork pixel to one screen pixel.
constexpr unsigned ArtworkDpi = 96;

// The whole number of screen pixels, across and down, that one artwork pixel covers at `dpi`,
// so that every artwork pixel stays a crisp square: the nearest multiple of ArtworkDpi, a
// half rounding up (144 dpi, a scale of 150 %, gives 2: a target rather larger than asked
// for beats one no larger than at 96 dpi). An unknown density (0) and anything below 144 give
// 1; at most 8 (768 dpi), far beyond any monitor, which keeps the windows' sizes small.
int ArtworkScale(unsigned dpi);
