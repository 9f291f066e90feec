// The bitmaps the moxel and the volume bar share, loaded from the library's resources on
// first use and deleted with the last window object.
#pragma once

#include <windows.h>

struct MoxelBitmaps {
  HBITMAP strip = nullptr;   // the volume bar's 20 level frames
  HBITMAP normal = nullptr;  // the moxel when not hovered
  HBITMAP hover = nullptr;   // the moxel while hovered

  // The shared set, loaded on the first call; a bitmap that fails to load stays null.
  static MoxelBitmaps& Get();
};

// Live window objects (the moxel and any volume bar); the last one deletes the bitmaps.
extern int windowObjectCount;
void AddWindowObject();
void ReleaseWindowObject();

// The size of `bitmap`, false when it cannot be read.
bool BitmapSize(HBITMAP bitmap, SIZE& size);
