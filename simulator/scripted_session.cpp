#include "simulator/scripted_session.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <utility>

#include <commctrl.h>

#include "moxel/dpi_scale.h"
#include "resources/resource.h"
#include "resources/window_classes.h"
#include "simulator/input.h"
#include "simulator/preferences_window.h"
#include "simulator/screen.h"

namespace {

constexpr int PictureScale = 4;

// The screen's top-left corner, 80 by 20 pixels of the artwork at the screen's density: the
// pictures show the same part of the artwork at every density, each screen pixel as large.
RECT Corner() {
  const int scale = ArtworkScale(ScreenDpi());
  return {0, 0, 80 * scale, 20 * scale};
}

// Prints what the host did since the last report.
class host_report {
 public:
  explicit host_report(player_session& session) : session_(session), volume_(session.host.playback().get_volume()) {}

  void Step(const char* what) {
    std::printf("%-28s", what);
    command_log& executed = session_.host.executed();
    for (size_t i = reported_; i < executed.size(); ++i) std::printf(" [%s]", executed[i].c_str());
    if (reported_ == executed.size()) std::printf(" -");
    reported_ = executed.size();
    const float volume = session_.host.playback().get_volume();
    if (volume != volume_) std::printf("  volume %.2f dB -> %.2f dB", volume_, volume);
    volume_ = volume;
    std::printf("\n");
    std::fflush(stdout);
  }

 private:
  player_session& session_;
  size_t reported_ = 0;
  float volume_;
};

// The path of picture `name` in `folder`, named for the density where it is not 96 dpi.
std::string PicturePath(const std::string& folder, const char* name) {
  const int dpi = ScreenDpi();
  return folder + "\\" + name + (dpi == int(ArtworkDpi) ? "" : "-" + std::to_string(dpi) + "dpi") + ".png";
}

void SaveAs(const std::string& path, const screen_capture& capture, int magnification) {
  if (SaveCapture(capture, path, magnification)) std::printf("%-28s %s\n", "picture", path.c_str());
}

// Saves a picture of `area` as `name`.png, each screen pixel drawn as a `magnification` square.
void Picture(const std::string& folder, const char* name, const RECT& area = Corner(),
             int magnification = PictureScale) {
  SaveAs(PicturePath(folder, name), CaptureScreen(area), magnification);
}

// The session waits for what each step brings about, however slow the machine: the windows
// as they stand once the step is done are what its report and picture show.
LONG MoxelWidth() {
  RECT rect{};
  GetWindowRect(FindWindowW(MoxelClassName, MoxelTitle), &rect);
  return rect.right - rect.left;
}

// The input sent so far handled, and every window of this thread (the moxel, the bar, the
// preferences) drawn as it left them.
void Settle() {
  if (!input::PumpUntilInputHandled()) std::printf("the input was not handled in time\n");
  if (!input::PumpUntil([] { return !(HIWORD(GetQueueStatus(QS_PAINT)) & QS_PAINT); }))
    std::printf("the windows were not drawn in time\n");
}

template <class Condition>
void WaitFor(const char* what, Condition condition) {
  if (!input::PumpUntil(condition)) std::printf("%s did not come in time\n", what);
  Settle();
}

// The moxel grows under the pointer and is small again once it leaves.
void PointAt(int x, int y) {
  const LONG resting = MoxelWidth();
  input::MoveTo(x, y);
  WaitFor("the moxel hovered", [&] { return MoxelWidth() > resting; });
}

void PointAway() {
  const LONG hovered = MoxelWidth();
  input::MoveTo(400, 300);
  // The leave notification comes after the hover time.
  WaitFor("the moxel at rest", [&] { return MoxelWidth() < hovered; });
}

// One wheel notch over the hovered moxel, with the bar up for it.
void TurnWheel(int delta) {
  input::Wheel(delta);
  WaitFor("the volume bar", [] { return FindWindowW(nullptr, VolumeBarTitle) != nullptr; });
}

}  // namespace

bool PlayScriptedSession(player_session& session, const std::string& pictureFolder) {
  const HWND moxel = FindWindowW(MoxelClassName, MoxelTitle);
  if (!moxel) return false;
  CreateDirectoryA(pictureFolder.c_str(), nullptr);
  host_report report(session);
  using input::Button;

  input::MoveTo(400, 300);
  Settle();
  Picture(pictureFolder, "moxel");
  PointAt(3, 3);
  report.Step("pointer onto the moxel");
  Picture(pictureFolder, "moxel-hovered");

  input::Click(Button::Left);
  Settle();
  report.Step("left click");
  input::Press(Button::Left);
  input::Press(Button::Right);
  input::Release(Button::Right);
  input::Release(Button::Left);
  Settle();
  report.Step("right flip");
  input::KeyDown(VK_SHIFT);
  input::Click(Button::Left);
  input::KeyUp(VK_SHIFT);
  Settle();
  report.Step("shift + left click");
  input::Click(Button::X2);
  Settle();
  report.Step("x button 2 click");

  for (int notch = 0; notch < 3; ++notch) {
    TurnWheel(WHEEL_DELTA);
    report.Step("wheel up");
  }
  Picture(pictureFolder, "volume-bar");
  TurnWheel(-WHEEL_DELTA);
  report.Step("wheel down");
  WaitFor("the bar's end", [] { return FindWindowW(nullptr, VolumeBarTitle) == nullptr; });
  std::printf("%-28s %s\n", "the wheel still, volume bar", FindWindowW(nullptr, VolumeBarTitle) ? "up" : "gone");
  PointAway();
  report.Step("pointer away");
  return true;
}

namespace {

const GUID MoxelPage = {0x54E8BF02, 0xA260, 0x4A38, {0x9D, 0xA0, 0xD7, 0xA3, 0xC1, 0x69, 0x54, 0x13}};

// The player's main window, made when the preferences first close. A player's main window
// takes the foreground back when its preferences close; without a window in front holding
// the focus, Wine hands no raw input out, and the moxel would miss the wheel.
void ReturnToPlayer() {
  static HWND player = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"quorbel scripted session";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"quorbel (simulated)", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 480,
                           440, 320, 120, nullptr, nullptr, wc.hInstance, nullptr);
  }();
  SetForegroundWindow(player);
  WaitFor("the player in front", [] { return GetFocus() != nullptr && GetForegroundWindow() == GetFocus(); });
}

// Clicks the middle of `rect`, given in `window`'s client coordinates.
void ClickAt(HWND window, RECT rect) {
  POINT point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ClientToScreen(window, &point);
  input::MoveTo(point.x, point.y);
  input::Click(input::Button::Left);
  Settle();
}

void ClickControl(HWND control) {
  RECT rect;
  GetClientRect(control, &rect);
  ClickAt(control, rect);
}

}  // namespace

bool EditPreferences(player_session& session, const std::string& pictureFolder) {
  preferences_window preferences(session.host);
  SetForegroundWindow(preferences.window());
  if (!preferences.ShowPage(MoxelPage)) return false;
  Settle();
  const HWND page = preferences.page_window();
  const HWND list = GetDlgItem(page, IDC_BINDINGS);
  RECT row{LVIR_BOUNDS, 0, 0, 0};
  SendMessageW(list, LVM_GETITEMRECT, 0, LPARAM(&row));
  ClickAt(list, row);
  std::printf("%-28s %s\n", "preferences: first row",
              IsWindowEnabled(GetDlgItem(page, IDC_CTRL)) ? "selected" : "not selected");
  ClickControl(GetDlgItem(page, IDC_CTRL));
  std::printf("%-28s state %u, Apply %s\n", "preferences: Ctrl checked", preferences.page()->get_state(),
              IsWindowEnabled(preferences.button(preferences_window::ApplyButton)) ? "enabled" : "disabled");
  ClickControl(preferences.button(preferences_window::ApplyButton));
  std::printf("%-28s state %u\n", "preferences: applied", preferences.page()->get_state());
  RECT frame;
  GetWindowRect(preferences.window(), &frame);
  Picture(pictureFolder, "page", frame, 1);
  ClickControl(preferences.button(preferences_window::OkButton));
  ReturnToPlayer();
  return preferences.closed();
}

namespace {

enum screen_choice { MainScreenChoice, OuterCornerChoice };
constexpr const char* CornerPictures[4] = {"corner-top-left", "corner-top-right", "corner-bottom-left",
                                           "corner-bottom-right"};

// Chooses `corner` and `screen` on the component's page, applies them and closes the page.
bool ChoosePosition(player_session& session, int corner, screen_choice screen) {
  preferences_window preferences(session.host);
  SetForegroundWindow(preferences.window());
  if (!preferences.ShowPage(MoxelPage)) return false;
  Settle();
  for (const auto& [box, choice] : {std::pair{IDC_CORNER, corner}, std::pair{IDC_SCREEN, int(screen)}}) {
    const HWND control = GetDlgItem(preferences.page_window(), box);
    SendMessageW(control, CB_SETCURSEL, WPARAM(choice), 0);
    SendMessageW(preferences.page_window(), WM_COMMAND, MAKEWPARAM(box, CBN_SELCHANGE), LPARAM(control));
  }
  ClickControl(preferences.button(preferences_window::ApplyButton));
  ClickControl(preferences.button(preferences_window::OkButton));
  ReturnToPlayer();
  return true;
}

// Turns the wheel down over the moxel in `corner` of `screen`, and answers the area of a
// picture of that corner.
RECT OpenBarIn(int corner, const RECT& screen) {
  const bool right = corner == 1 || corner == 3, bottom = corner >= 2;
  const RECT size = Corner();
  PointAt(right ? screen.right - 4 : screen.left + 3, bottom ? screen.bottom - 4 : screen.top + 3);
  TurnWheel(-WHEEL_DELTA);
  return {right ? screen.right - size.right : screen.left, bottom ? screen.bottom - size.bottom : screen.top,
          right ? screen.right : screen.left + size.right, bottom ? screen.bottom : screen.top + size.bottom};
}

}  // namespace

bool TourCorners(player_session& session, const std::string& pictureFolder) {
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  // The top-left corner last, where the session found the moxel.
  for (int corner : {1, 2, 3, 0}) {
    if (!ChoosePosition(session, corner, MainScreenChoice)) return false;
    const RECT area = OpenBarIn(corner, screen);
    std::printf("%-28s %s\n", "corner", CornerPictures[corner]);
    Picture(pictureFolder, CornerPictures[corner], area);
    PointAway();
  }
  return true;
}

bool TourOuterCorners(player_session& session, const std::string& pictureFolder) {
  // The four corners' pictures in their places, grey between them.
  const RECT area = Corner();
  const int width = area.right, height = area.bottom, gap = 2;
  screen_capture picture;
  picture.width = 2 * width + gap;
  picture.height = 2 * height + gap;
  picture.rgb.assign(size_t(picture.width) * picture.height * 3, 0x80);
  for (int corner : {1, 2, 3, 0}) {
    if (!ChoosePosition(session, corner, OuterCornerChoice)) return false;
    const HWND moxel = FindWindowW(MoxelClassName, MoxelTitle);
    MONITORINFO monitor{sizeof monitor, {}, {}, 0};
    if (!moxel || !GetMonitorInfoW(MonitorFromWindow(moxel, MONITOR_DEFAULTTONEAREST), &monitor)) return false;
    const RECT& on = monitor.rcMonitor;
    const screen_capture shot = CaptureScreen(OpenBarIn(corner, on));
    const int left = corner == 1 || corner == 3 ? width + gap : 0, top = corner >= 2 ? height + gap : 0;
    for (int y = 0; y < height; ++y)
      std::copy_n(&shot.rgb[size_t(y) * width * 3], width * 3,
                  &picture.rgb[(size_t(top + y) * picture.width + left) * 3]);
    std::printf("%-28s %s of the monitor at {%ld, %ld, %ld, %ld}\n", "outer corner", CornerPictures[corner] + 7,
                on.left, on.top, on.right, on.bottom);
    PointAway();
  }
  SaveAs(PicturePath(pictureFolder, "outer-corners"), picture, PictureScale);
  return ChoosePosition(session, 0, MainScreenChoice);
}

namespace {

player_session* g_interactive = nullptr;
std::unique_ptr<preferences_window> g_preferences;
constexpr int PreferencesButton = 1;

// The title shows the volume and the last command the host executed.
void ShowPlayerState(HWND window) {
  const command_log& executed = g_interactive->host.executed();
  wchar_t title[200];
  swprintf(title, 200, L"quorbel (simulated) - volume %.2f dB - last command: %hs",
           double(g_interactive->host.playback().get_volume()), executed.empty() ? "none" : executed.back().c_str());
  SetWindowTextW(window, title);
}

LRESULT CALLBACK PlayerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    ShowPlayerState(window);
    return 0;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == PreferencesButton) {
    if (!g_preferences || g_preferences->closed()) {
      g_preferences = std::make_unique<preferences_window>(g_interactive->host);
      g_preferences->ShowPage(MoxelPage);
    }
    SetForegroundWindow(g_preferences->window());
    return 0;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void RunInteractively(player_session& session) {
  g_interactive = &session;
  WNDCLASSW wc{};
  wc.lpfnWndProc = PlayerWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"quorbel simulator";
  RegisterClassW(&wc);
  const HWND window = CreateWindowExW(0, wc.lpszClassName, L"quorbel (simulated)", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                      200, 200, 640, 120, nullptr, nullptr, wc.hInstance, nullptr);
  CreateWindowExW(0, L"BUTTON", L"Preferences...", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 120, 28, window,
                  reinterpret_cast<HMENU>(INT_PTR(PreferencesButton)), wc.hInstance, nullptr);
  SetTimer(window, 1, 200, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Tab and arrow keys move between the preferences' controls.
    if (g_preferences && !g_preferences->closed() && IsDialogMessageW(g_preferences->window(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  g_preferences.reset();
}
