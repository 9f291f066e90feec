// The moxel's raw-input handler on mouse events that are not a wheel turn over it (moves
// elsewhere), against a window whose handler only reads the event, in the same run. Both
// windows are timed around their window procedure; raw input goes to one target at a time,
// so the two take turns.
#include <cstdio>

#include "bench_support.h"
#include "simulator/input.h"
#include "simulator/player_session.h"

namespace {

struct timed_window {
  WNDPROC inner = nullptr;
  double seconds = 0;   // inside the window procedure, for WM_INPUT
  double delivery = 0;  // from sending the events until the last one was handled
  long events = 0;
};

timed_window g_moxel, g_baseline;

LRESULT Timed(timed_window& timed, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INPUT) return CallWindowProcW(timed.inner, window, message, wParam, lParam);
  const double start = Seconds();
  const LRESULT result = CallWindowProcW(timed.inner, window, message, wParam, lParam);
  timed.seconds += Seconds() - start;
  ++timed.events;
  return result;
}

LRESULT CALLBACK TimedMoxel(HWND w, UINT m, WPARAM wp, LPARAM lp) { return Timed(g_moxel, w, m, wp, lp); }
LRESULT CALLBACK TimedBaseline(HWND w, UINT m, WPARAM wp, LPARAM lp) { return Timed(g_baseline, w, m, wp, lp); }

LRESULT CALLBACK ReadOnly(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INPUT) {
    RAWINPUT raw;
    UINT size = sizeof raw;
    GetRawInputData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, &raw, &size, sizeof(RAWINPUTHEADER));
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void Target(HWND window) {
  RAWINPUTDEVICE mouse{0x01, 0x02, RIDEV_INPUTSINK, window};
  RegisterRawInputDevices(&mouse, 1, sizeof mouse);
}

// Moves the pointer back and forth away from the moxel until `timed` has seen `count` more events.
void Drive(timed_window& timed, long count) {
  const double start = Seconds();
  const long target = timed.events + count;
  for (long sent = 0; sent < count; ++sent) {
    input::MoveBy(sent % 2 ? -1 : 1, 0);
    if (sent % 64 == 63) input::Pump(0);
  }
  while (timed.events < target && Seconds() - start < 10) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  timed.delivery += Seconds() - start;
}

}  // namespace

int main() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  player_session session(BinFolder() + L"\\moxel_control.dll", std::wstring(temp) + L"moxel_bench_profile");
  session.LoadConfiguration();
  input::MoveTo(600, 500);
  session.RunInitServices();
  input::Pump(200);
  const HWND moxel = FindWindowW(L"{9619D0A7-70B0-4320-AEA5-89459EB700A4}", L"moxelwindow");
  if (!moxel) {
    std::printf("no moxel\n");
    return 1;
  }
  g_moxel.inner = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(moxel, GWLP_WNDPROC, LONG_PTR(TimedMoxel)));

  WNDCLASSW wc{};
  wc.lpfnWndProc = ReadOnly;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"raw input baseline";
  RegisterClassW(&wc);
  const HWND baseline = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
  g_baseline.inner = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(baseline, GWLP_WNDPROC, LONG_PTR(TimedBaseline)));

  const long perRound = 4000;
  for (int round = 0; round < 5; ++round) {
    Target(moxel);
    Drive(g_moxel, perRound);
    Target(baseline);
    Drive(g_baseline, perRound);
  }
  const double moxelNs = g_moxel.seconds * 1e9 / g_moxel.events;
  const double baselineNs = g_baseline.seconds * 1e9 / g_baseline.events;
  const double moxelDelivery = g_moxel.delivery * 1e9 / g_moxel.events;
  const double baselineDelivery = g_baseline.delivery * 1e9 / g_baseline.events;
  std::printf("raw input, moves elsewhere (%ld + %ld events)\n", g_moxel.events, g_baseline.events);
  std::printf("  per event, sent and handled: moxel %.0f ns, read-only baseline %.0f ns, ratio %.3f, %.0f events/s\n",
              moxelDelivery, baselineDelivery, moxelDelivery / baselineDelivery, 1e9 / moxelDelivery);
  std::printf("  window procedure alone:      moxel %.0f ns, read-only baseline %.0f ns, ratio %.3f\n", moxelNs,
              baselineNs, moxelNs / baselineNs);
  SetWindowLongPtrW(moxel, GWLP_WNDPROC, LONG_PTR(g_moxel.inner));
  session.RunQuitServices();
  return 0;
}
