// The level indicator beside the moxel while the wheel changes the volume. It follows every
// volume change the host reports while it exists.
#pragma once

#include "host/play_callback_impl.h"
#include "moxel/corner.h"
#include "window/window.h"

class CVolumeBar : public CWindowImpl<CVolumeBar, CTopmostToolTraits>, public play_callback_impl_base {
 public:
  static const window_class_info& GetWndClassInfo();

  // Registers as a playback listener; throws when the host cannot take listeners.
  CVolumeBar() = default;

  // Creates the bar window beside the moxel, on its inner side and fully on the screen.
  void Create(const moxel_anchor& beside);

  void on_volume_change(float db) override;

  BEGIN_MSG_MAP(CVolumeBar)
  MSG_WM_CREATE(OnCreate)
  MSG_WM_PAINT(OnPaint)
  END_MSG_MAP()

 private:
  int OnCreate(CREATESTRUCTW* create);
  void OnPaint();

  // Reads the host's volume and shows its frame.
  void FollowVolume();

  int level_ = 0;
};
