#include "volumebar/volume_bar.h"

#include <oleacc.h>

#include "resources/resource.h"
#include "resources/window_classes.h"
#include "volumebar/volume_level.h"
#include "window/dpi.h"
#include "window/gdi.h"

namespace {
// The bar's twenty level frames, kept from the first bar until the library unloads.
resource_bitmap g_strip(IDB_VOLUME_STRIP);
}  // namespace

const window_class_info& CVolumeBar::GetWndClassInfo() {
  static const window_class_info info{VolumeBarClassName, CS_HREDRAW | CS_VREDRAW, IDC_ARROW};
  return info;
}

void CVolumeBar::Create(const moxel_anchor& beside) {
  // Without the strip's size the bar has none, and its corner stays by the moxel.
  scale_ = beside.scale;
  const SIZE size = WindowSize();
  const pixel_rect place = RectBeside(beside, size.cx, size.cy);
  const RECT rect{place.left, place.top, place.left, place.top};
  const per_monitor_dpi_scope aware;
  CWindowImpl::Create(nullptr, rect, VolumeBarTitle);
}

void CVolumeBar::on_volume_change() {
  if (FollowVolume() && IsWindow()) NotifyAccessibleEvent(EVENT_OBJECT_VALUECHANGE, m_hWnd);
}

bool CVolumeBar::FollowVolume() {
  const float db = player::volume();
  const bool changed = db != db_;
  db_ = db;
  level_ = VolumeLevel(db);
  if (IsWindow()) InvalidateRect(nullptr, FALSE);
  return changed;
}

long CVolumeBar::AccessibleRole() const { return ROLE_SYSTEM_PROGRESSBAR; }

std::wstring CVolumeBar::AccessibleValue() const { return VolumeText(db_); }

SIZE CVolumeBar::WindowSize() const {
  SIZE strip{};
  if (!BitmapSize(g_strip.get(), strip)) return {0, 0};
  return {strip.cx * scale_, strip.cy / VolumeFrames * scale_};
}

int CVolumeBar::OnCreate(CREATESTRUCTW* create) {
  ShowWindow(SW_SHOWNOACTIVATE);
  const SIZE size = WindowSize();
  if (size.cx > 0) MoveWindow(create->x, create->y, size.cx, size.cy);
  FollowVolume();
  // The notch that brings the bar up changed the volume too: a screen reader reads a value
  // change, not a bar appearing.
  NotifyAccessibleEvent(EVENT_OBJECT_SHOW, m_hWnd);
  NotifyAccessibleEvent(EVENT_OBJECT_VALUECHANGE, m_hWnd);
  return 0;
}

void CVolumeBar::OnPaint() {
  const paint_dc target(m_hWnd);
  const HBITMAP strip = g_strip.get();
  SIZE size;
  if (BitmapSize(strip, size)) {
    const memory_dc memory(target);
    const selected_object frames(memory, strip);
    RECT client;
    GetClientRect(&client);
    // The moxel's whole multiple: every pixel of the frame a crisp square.
    StretchBlt(target, 0, 0, client.right, client.bottom, memory, 0, size.cy / VolumeFrames * level_,
               client.right / scale_, client.bottom / scale_, SRCCOPY);
  }
}
