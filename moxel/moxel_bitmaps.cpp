#include "moxel/moxel_bitmaps.h"

#include <initializer_list>

#include "resources/resource.h"
#include "window/window.h"

int windowObjectCount = 0;

namespace {
MoxelBitmaps* g_bitmaps = nullptr;
}  // namespace

MoxelBitmaps& MoxelBitmaps::Get() {
  if (!g_bitmaps) {
    g_bitmaps = new MoxelBitmaps;
    g_bitmaps->normal = LoadBitmapW(ModuleInstance(), MAKEINTRESOURCEW(IDB_MOXEL_NORMAL));
    g_bitmaps->hover = LoadBitmapW(ModuleInstance(), MAKEINTRESOURCEW(IDB_MOXEL_HOVER));
    g_bitmaps->strip = LoadBitmapW(ModuleInstance(), MAKEINTRESOURCEW(IDB_VOLUME_STRIP));
  }
  return *g_bitmaps;
}

void AddWindowObject() { ++windowObjectCount; }

void ReleaseWindowObject() {
  if (--windowObjectCount != 0 || !g_bitmaps) return;
  for (HBITMAP bitmap : {g_bitmaps->strip, g_bitmaps->normal, g_bitmaps->hover}) {
    if (bitmap) DeleteObject(bitmap);
  }
  delete g_bitmaps;
  g_bitmaps = nullptr;
}

bool BitmapSize(HBITMAP bitmap, SIZE& size) {
  BITMAP info;
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return false;
  size = {info.bmWidth, info.bmHeight};
  return true;
}
