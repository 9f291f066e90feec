// The moxel: a tiny always-on-top, never-activated window at the top-left corner of the
// screen that turns clicks and flips into bound commands and the wheel into volume steps.
#pragma once

#include <memory>

#include "moxel/gesture.h"
#include "volumebar/volume_bar.h"
#include "window/window.h"

class CMoxelWindow : public CWindowImpl<CMoxelWindow> {
 public:
  static const window_class_info& GetWndClassInfo();

  CMoxelWindow();
  ~CMoxelWindow() override;

  void Create();
  // Destroys the window if it still exists.
  void Destroy();

  void ShowVolumeBar();
  void HideVolumeBar();

  BEGIN_MSG_MAP(CMoxelWindow)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_MOUSEACTIVATE, OnMouseActivate)
    MESSAGE_HANDLER(WM_SYNCPAINT, OnSyncPaint)
    MESSAGE_HANDLER(WM_INPUT, OnInput)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnButton)
    MESSAGE_HANDLER(WM_RBUTTONDOWN, OnButton)
    MESSAGE_HANDLER(WM_MBUTTONDOWN, OnButton)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnButton)
    MESSAGE_HANDLER(WM_RBUTTONUP, OnButton)
    MESSAGE_HANDLER(WM_MBUTTONUP, OnButton)
    MESSAGE_HANDLER(WM_XBUTTONDOWN, OnButton)
    MESSAGE_HANDLER(WM_XBUTTONUP, OnButton)
  END_MSG_MAP()

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseActivate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSyncPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnInput(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnButton(UINT, WPARAM, LPARAM, BOOL&);

  void EnterHover();
  void LeaveHover();
  void Paint();
  void HandleRawInput(HRAWINPUT input);
  // Shows `bitmap` at its size at the screen's top-left corner.
  void FitTo(HBITMAP bitmap);

  bool hovered_ = false;
  std::unique_ptr<CVolumeBar> volumeBar_;
  GestureRecognizer gestures_;
};

// The one moxel of the library, alive while the library is loaded.
extern CMoxelWindow g_moxel_window;
