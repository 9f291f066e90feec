// The moxel: a tiny always-on-top, never-activated window at the top-left corner of the
// screen that turns clicks and flips into bound commands and the wheel into volume steps.
#pragma once

#include <memory>

#include "moxel/gesture.h"
#include "window/accessible.h"
#include "window/window.h"

class CMoxelWindow : public CWindowImpl<CMoxelWindow, CTopmostToolTraits>, private accessible_source {
 public:
  static const window_class_info& GetWndClassInfo();

  ~CMoxelWindow() override;

  void Create();
  // Destroys the window if it still exists.
  void Destroy();

  // Makes the volume bar right of the moxel's window rectangle `beside`; the moxel destroys
  // it when it hides it. Set by the code that joins the two features.
  using volume_bar_maker = std::unique_ptr<window_impl_base> (*)(const RECT& beside);
  void SetVolumeBarMaker(volume_bar_maker maker) { makeVolumeBar_ = maker; }

  void ShowVolumeBar();
  void HideVolumeBar();

  BEGIN_MSG_MAP(CMoxelWindow)
  MSG_WM_CREATE(OnCreate)
  MSG_WM_DESTROY(OnDestroy)
  MSG_WM_PAINT(Paint)
  MSG_WM_MOUSEACTIVATE(OnMouseActivate)
  MSG_WM_SYNCPAINT(OnSyncPaint)
  MSG_WM_INPUT(OnInput)
  MSG_WM_TIMER(OnTimer)
  MSG_WM_MOUSEMOVE(OnMouseMove)
  MSG_WM_MOUSELEAVE(OnMouseLeave)
  MSG_WM_MOUSEBUTTONS(OnButton)
  MSG_WM_GETOBJECT(OnGetObject)
  END_MSG_MAP()

 private:
  int OnCreate(CREATESTRUCTW*);
  void OnDestroy();
  int OnMouseActivate(HWND, UINT, UINT) { return MA_NOACTIVATE; }
  void OnSyncPaint();
  void OnInput(UINT, HRAWINPUT input) { HandleRawInput(input); }
  void OnTimer(UINT_PTR id);
  void OnMouseMove(UINT, POINT);
  void OnMouseLeave() { LeaveHover(); }
  void OnButton(UINT message, UINT keys);
  LRESULT OnGetObject(WPARAM flags, LPARAM objectId) { return accessible_.Answer(m_hWnd, flags, objectId); }

  // For screen readers: a push button whose description names the plain clicks' commands.
  long AccessibleRole() const override;
  std::wstring AccessibleName() const override { return L"moxel control"; }
  std::wstring AccessibleDescription() const override;

  void EnterHover();
  void LeaveHover();
  void Paint();
  void HandleRawInput(HRAWINPUT input);
  // Shows `bitmap` at its size at the screen's top-left corner.
  void FitTo(HBITMAP bitmap);

  bool hovered_ = false;
  volume_bar_maker makeVolumeBar_ = nullptr;
  std::unique_ptr<window_impl_base> volumeBar_;
  GestureRecognizer gestures_;
  accessible_client accessible_{*this};
};

// The one moxel of the library, alive while the library is loaded.
extern CMoxelWindow g_moxel_window;
