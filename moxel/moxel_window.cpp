#include "moxel/moxel_window.h"

#include <commctrl.h>
#include <oleacc.h>

#include "host/config/config_vars.h"
#include "host/player/player.h"
#include "moxel/bindings.h"
#include "moxel/dpi_scale.h"
#include "moxel/wheel_volume.h"
#include "labels/labels.h"
#include "resources/resource.h"
#include "resources/window_classes.h"
#include "window/dpi.h"
#include "window/gdi.h"

// The gesture recognizer, which builds without Win32, numbers messages and bits as Win32 does.
static_assert(MsgLButtonDown == WM_LBUTTONDOWN && MsgLButtonUp == WM_LBUTTONUP && MsgRButtonDown == WM_RBUTTONDOWN &&
              MsgRButtonUp == WM_RBUTTONUP && MsgMButtonDown == WM_MBUTTONDOWN && MsgMButtonUp == WM_MBUTTONUP &&
              MsgXButtonDown == WM_XBUTTONDOWN && MsgXButtonUp == WM_XBUTTONUP);
static_assert(KeyStateLeft == MK_LBUTTON && KeyStateRight == MK_RBUTTON && KeyStateMiddle == MK_MBUTTON &&
              KeyStateX1 == MK_XBUTTON1 && KeyStateX2 == MK_XBUTTON2 &&
              ButtonMask == (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_XBUTTON1 | MK_XBUTTON2));
static_assert(ModifierShift == MK_SHIFT && ModifierCtrl == MK_CONTROL);
static_assert(RawLeftButtonUp == RI_MOUSE_LEFT_BUTTON_UP && RawRightButtonUp == RI_MOUSE_RIGHT_BUTTON_UP);

namespace {
// Made before, and so deleted after, every moxel, which is a static object of the code that
// composes the library.
resource_bitmap g_normal __attribute__((init_priority(2000))){IDB_MOXEL_NORMAL};  // the moxel when not hovered
resource_bitmap g_hover __attribute__((init_priority(2000))){IDB_MOXEL_HOVER};    // the moxel while hovered

constexpr UINT_PTR VolumeBarTimer = 0;
constexpr UINT VolumeBarMilliseconds = 1000;

// The desktop's monitors as they are now, in the calling thread's pixels. The moxel is above
// the taskbar, so it keeps to the monitors' edges, where the pointer stops.
struct monitor_list {
  monitor_area monitors[16];  // more than any desktop has; a further one is left out
  size_t count = 0;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, RECT*, LPARAM list) {
  auto& found = *reinterpret_cast<monitor_list*>(list);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info)) {
    const RECT& area = info.rcMonitor;
    found.monitors[found.count++] = {{area.left, area.top, area.right, area.bottom},
                                     bool(info.dwFlags & MONITORINFOF_PRIMARY)};
  }
  return found.count < std::size(found.monitors);
}

monitor_list Monitors() {
  monitor_list found;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, LPARAM(&found));
  // The main screen, whose top-left corner is the origin, where monitors cannot be listed.
  if (found.count == 0)
    found.monitors[found.count++] = {{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, true};
  return found;
}
}  // namespace

const window_class_info& CMoxelWindow::GetWndClassInfo() {
  static const window_class_info info{MoxelClassName, CS_HREDRAW | CS_VREDRAW, IDC_ARROW};
  return info;
}

CMoxelWindow::~CMoxelWindow() {
  // A host that unloads the library without its quit call would leave a window whose
  // procedure is gone.
  if (IsWindow() && GetWindowThreadProcessId(m_hWnd, nullptr) == GetCurrentThreadId()) DestroyWindow();
}

void CMoxelWindow::Create() {
  // One object has one window: a second init while the moxel is up keeps that one.
  if (IsWindow()) return;
  const RECT rect{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
  const per_monitor_dpi_scope aware;
  CWindowImpl::Create(nullptr, rect, MoxelTitle);
}

void CMoxelWindow::Destroy() {
  if (IsWindow()) DestroyWindow();
}

void CMoxelWindow::ShowVolumeBar() {
  if (!volumeBar_ && makeVolumeBar_) volumeBar_ = makeVolumeBar_(placement_);
  SetTimer(VolumeBarTimer, VolumeBarMilliseconds);
}

void CMoxelWindow::HideVolumeBar() {
  // The timer ends with the bar, rather than wake the player's thread for nothing.
  KillTimer(VolumeBarTimer);
  if (!volumeBar_) return;
  if (volumeBar_->IsWindow()) volumeBar_->DestroyWindow();
  volumeBar_.reset();
}

int CMoxelWindow::OnCreate(CREATESTRUCTW*) {
  // Whatever the last window ended in, this one starts unhovered and between gestures.
  hovered_ = false;
  gestures_ = {};
  ApplyFirstRunDefaults();
  ShowWindow(SW_SHOWNOACTIVATE);
  scale_ = ArtworkScale(WindowDpi(m_hWnd));
  FollowPosition();  // not hovered yet: the small moxel in its place
  mouse_.Take(m_hWnd, 0x01, 0x02, RIDEV_INPUTSINK);
  return 0;
}

void CMoxelWindow::OnDestroy() {
  mouse_.GiveBack();
  fullScreen_.Stop();  // a moxel that is going stays as it is
  HideVolumeBar();
  accessible_.Disconnect();
}

long CMoxelWindow::AccessibleRole() const { return ROLE_SYSTEM_PUSHBUTTON; }

std::wstring CMoxelWindow::AccessibleDescription() const { return PlainClickSummary(cfg_mouse_actions, ActionLabel); }

void CMoxelWindow::OnSyncPaint() {
  // Back on top without taking activation from the program the user is in.
  SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CMoxelWindow::FollowPosition() {
  if (!IsWindow()) return;
  // The preferences page calls from the host's code, whose thread may measure the screen in
  // pixels of 96 dpi.
  const per_monitor_dpi_scope aware;
  // A bar placed by the old screen or scale would stand apart from the moxel.
  HideVolumeBar();
  PlaceInCornerSizedFor(hovered_ ? g_hover.get() : g_normal.get());
  if (cfg_hide_for_fullscreen) return fullScreen_.Follow(placement_.screen);
  // Turned off: a moxel that stood aside is back in sight.
  if (fullScreen_.Stop()) OnScreenCovered(false);
}

void CMoxelWindow::OnScreenCovered(bool covered) {
  // Neither hiding nor showing takes activation from the program in front; shown, the moxel
  // is back in the topmost band.
  if (covered) {
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    // Nothing can point at a hidden moxel.
    if (hovered_) LeaveHover();
  } else {
    SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
}

void CMoxelWindow::OnSettingChange(UINT action, const wchar_t*) {
  if (action == SPI_SETWORKAREA) FollowPosition();
}

void CMoxelWindow::OnDpiChanged(UINT dpi, const RECT*) {
  // The stored corner places the moxel, not the rectangle the system suggests.
  scale_ = ArtworkScale(dpi);
  FollowPosition();
}

void CMoxelWindow::OnTimer(UINT_PTR id) {
  if (id == VolumeBarTimer) HideVolumeBar();
}

void CMoxelWindow::OnMouseMove(UINT, POINT) {
  if (!hovered_) EnterHover();
}

void CMoxelWindow::OnButton(UINT message, UINT keys) {
  Gesture gesture;
  if (gestures_.OnButtonMessage(message, keys, gesture)) {
    // The key state carries no Alt; the key's physical state at this message stands in,
    // read asynchronously because the moxel's thread rarely has the keyboard.
    if (GetAsyncKeyState(VK_MENU) & 0x8000) gesture.modifiers |= ModifierAlt;
    RunActions(gesture.modifiers, gesture.mouseKey);
  }
}

void CMoxelWindow::PlaceInCornerSizedFor(HBITMAP bitmap) {
  SIZE size;
  if (!BitmapSize(bitmap, size)) return;
  const monitor_list found = Monitors();
  placement_ = PlaceMoxel(std::span(found.monitors, found.count), CornerFromStored(cfg_moxel_corner),
                          ScreenFromStored(cfg_moxel_screen), scale_, size.cx, size.cy);
  const pixel_rect& place = placement_.moxel;
  MoveWindow(place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
}

void CMoxelWindow::EnterHover() {
  hovered_ = true;
  PlaceInCornerSizedFor(g_hover.get());
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
  _TrackMouseEvent(&track);
}

void CMoxelWindow::LeaveHover() {
  hovered_ = false;
  // Unhovered for another reason than the pointer's leave (standing aside), the moxel would
  // still be sent a leave later.
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_CANCEL, m_hWnd, 0};
  _TrackMouseEvent(&track);
  PlaceInCornerSizedFor(g_normal.get());
  HideVolumeBar();
}

void CMoxelWindow::Paint() {
  const paint_dc target(m_hWnd);
  const memory_dc memory(target);
  const selected_object picture(memory, hovered_ ? g_hover.get() : g_normal.get());
  RECT client;
  GetClientRect(&client);
  // Whole multiples, enlarged without smoothing: every artwork pixel a crisp square.
  StretchBlt(target, 0, 0, client.right, client.bottom, memory, 0, 0, client.right / scale_, client.bottom / scale_,
             SRCCOPY);
}

void CMoxelWindow::HandleRawInput(UINT code, HRAWINPUT input) {
  RAWINPUT raw;
  UINT size = sizeof raw;
  const UINT read = GetRawInputData(input, RID_INPUT, &raw, &size, sizeof(RAWINPUTHEADER));
  // Once read, whatever the earlier target's handling does cannot take the event from the moxel.
  mouse_.Forward(code, input);
  // Every mouse event of the system comes here: a failed read is an event that never was.
  if (read == UINT(-1)) return;
  if (raw.header.dwType != RIM_TYPEMOUSE) return;
  const USHORT flags = raw.data.mouse.usButtonFlags;
  gestures_.OnRawButtonFlags(flags, hovered_);
  if (!(flags & RI_MOUSE_WHEEL) || !hovered_) return;

  const int16_t delta = int16_t(raw.data.mouse.usButtonData);
  const float db = player::volume();
  UINT lines = 0;
  if (!SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) lines = 1;
  player::set_volume(WheelVolume(db, delta, lines, cfg_wheel_sensitivity));
  ShowVolumeBar();
}
