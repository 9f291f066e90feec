// The moxel: a tiny always-on-top, never-activated window in a corner of a screen
// that turns clicks and flips into bound commands and the wheel into volume steps.
#pragma once

#include <memory>

#include "moxel/full_screen_watch.h"
#include "moxel/gesture.h"
#include "placement/placement.h"
#include "window/accessible.h"
#include "window/message_map.h"
#include "window/raw_input_claim.h"
#include "window/window.h"

class CMoxelWindow final : public CWindowImpl<CMoxelWindow, CTopmostToolTraits>,
                           private accessible_source,
                           private screen_cover_listener {
 public:
  static const window_class_info& GetWndClassInfo();

  ~CMoxelWindow() override;

  void Create();
  // Destroys the window if it still exists.
  void Destroy();

  // Makes the volume bar beside the moxel; the moxel destroys it when it hides it. Set by the
  // code that joins the two features.
  using volume_bar_maker = std::unique_ptr<window_impl_base> (*)(const moxel_anchor& beside);
  void SetVolumeBarMaker(volume_bar_maker maker) { makeVolumeBar_ = maker; }

  void ShowVolumeBar();
  void HideVolumeBar();

  // Moves the moxel into the stored corner of the stored screen, as the monitors are now, and
  // follows the stored full-screen option there.
  void FollowPosition();

  BEGIN_MSG_MAP(CMoxelWindow)
  // The raw input first: it comes for every mouse event of the system.
  MSG_WM_INPUT(OnInput)
  MSG_WM_CREATE(OnCreate)
  MSG_WM_DESTROY(OnDestroy)
  MSG_WM_PAINT(Paint)
  MSG_WM_MOUSEACTIVATE(OnMouseActivate)
  MSG_WM_SYNCPAINT(OnSyncPaint)
  MSG_WM_TIMER(OnTimer)
  MSG_WM_MOUSEMOVE(OnMouseMove)
  MSG_WM_MOUSELEAVE(OnMouseLeave)
  MSG_WM_DISPLAYCHANGE(OnDisplayChange)
  MSG_WM_SETTINGCHANGE(OnSettingChange)
  MSG_WM_DPICHANGED(OnDpiChanged)
  MSG_WM_MOUSEBUTTONS(OnButton)
  MSG_WM_GETOBJECT(OnGetObject)
  END_MSG_MAP()

 private:
  int OnCreate(CREATESTRUCTW*);
  void OnDestroy();
  int OnMouseActivate(HWND, UINT, UINT) { return MA_NOACTIVATE; }
  void OnSyncPaint();
  void OnDisplayChange(UINT, SIZE) { FollowPosition(); }
  void OnSettingChange(UINT action, const wchar_t*);
  void OnDpiChanged(UINT dpi, const RECT*);
  void OnInput(UINT code, HRAWINPUT input) { HandleRawInput(code, input); }
  void OnTimer(UINT_PTR id);
  void OnMouseMove(UINT, POINT);
  // A leave that was on its way when the moxel stopped being hovered changes nothing.
  void OnMouseLeave() {
    if (hovered_) LeaveHover();
  }
  void OnButton(UINT message, UINT keys);
  LRESULT OnGetObject(WPARAM flags, LPARAM objectId) { return accessible_.Answer(m_hWnd, flags, objectId); }

  // For screen readers: a push button whose description names the plain clicks' commands.
  long AccessibleRole() const override;
  std::wstring AccessibleName() const override { return L"moxel control"; }
  std::wstring AccessibleDescription() const override;

  // Out of the way while a full-screen program is in front, without taking activation.
  void OnScreenCovered(bool covered) override;

  void EnterHover();
  void LeaveHover();
  void Paint();
  void HandleRawInput(UINT code, HRAWINPUT input);
  // Shows `bitmap` at its size times the scale in the stored corner of the stored screen.
  void PlaceInCornerSizedFor(HBITMAP bitmap);

  bool hovered_ = false;
  int scale_ = 1;             // screen pixels per artwork pixel on the moxel's monitor
  moxel_anchor placement_{};  // where PlaceInCornerSizedFor last placed the moxel
  volume_bar_maker makeVolumeBar_ = nullptr;
  std::unique_ptr<window_impl_base> volumeBar_;
  GestureRecognizer gestures_;
  accessible_client accessible_{*this};
  full_screen_watch fullScreen_{*this};  // follows the option at creation and with the position
  raw_input_claim mouse_;                // the process's raw input of the mouse, while the window lives
};
