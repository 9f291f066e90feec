// The level indicator beside the moxel while the wheel changes the volume. It follows every
// volume change the host reports while it exists.
#pragma once

#include "host/player/player.h"
#include "placement/placement.h"
#include "window/accessible.h"
#include "window/message_map.h"
#include "window/window.h"

class CVolumeBar : public CWindowImpl<CVolumeBar, CTopmostToolTraits>,
                   private player::volume_observer,
                   private accessible_source {
 public:
  static const window_class_info& GetWndClassInfo();

  // Registers as a playback listener; throws when the host cannot take listeners.
  CVolumeBar() = default;

  // Creates the bar window beside the moxel, on its inner side and fully on the screen, at
  // the moxel's scale.
  void Create(const moxel_anchor& beside);

  BEGIN_MSG_MAP(CVolumeBar)
  MSG_WM_CREATE(OnCreate)
  MSG_WM_DESTROY(OnDestroy)
  MSG_WM_PAINT(OnPaint)
  MSG_WM_GETOBJECT(OnGetObject)
  END_MSG_MAP()

 private:
  void on_volume_change() override;

  int OnCreate(CREATESTRUCTW* create);
  void OnDestroy() { accessible_.Disconnect(); }
  void OnPaint();
  LRESULT OnGetObject(WPARAM flags, LPARAM objectId) { return accessible_.Answer(m_hWnd, flags, objectId); }

  // For screen readers: a progress bar whose value is the volume as the player shows it.
  long AccessibleRole() const override;
  std::wstring AccessibleName() const override { return L"Volume"; }
  std::wstring AccessibleValue() const override;

  // Reads the host's volume and shows its frame; true when the volume is not the one shown.
  bool FollowVolume();
  // One frame of the strip at the scale; empty without the strip.
  SIZE WindowSize() const;

  player::volume_listener listener_{*this};
  int level_ = 0;
  int scale_ = 1;  // screen pixels per artwork pixel, the moxel's
  float db_ = 0;
  accessible_client accessible_{*this};
};
