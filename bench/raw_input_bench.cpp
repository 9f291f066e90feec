// The moxel's raw-input handling of mouse events that are not a wheel turn over it (moves
// elsewhere), against a window whose handler only reads the event, in the same run. Each
// WM_INPUT's dispatch to its window is timed in the message loop; raw input goes to one
// target at a time, so the two take turns, and besides the mean the median event is given,
// which a machine's passing load does not move. Last, the same message with an event handle
// that cannot be read is sent to both in tight loops, taking turns, which leaves the window
// framework's own share with warm caches.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench_support.h"
#include "resources/window_classes.h"
#include "simulator/input.h"
#include "simulator/player_session.h"

namespace {

struct timed_window {
  HWND window = nullptr;
  double seconds = 0;        // dispatching WM_INPUT to the window
  std::vector<double> each;  // the same, event by event
  double delivery = 0;       // from sending the events until the last one was handled
  long events = 0;
};

LRESULT CALLBACK ReadOnly(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INPUT) {
    RAWINPUT raw;
    UINT size = sizeof raw;
    GetRawInputData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, &raw, &size, sizeof(RAWINPUTHEADER));
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// Nanoseconds a WM_INPUT sent to `window` costs when its event cannot be read.
double SentUnreadable(HWND window) {
  constexpr int Count = 20000;
  const double start = Seconds();
  for (int i = 0; i < Count; ++i) SendMessageW(window, WM_INPUT, RIM_INPUTSINK, 0x1234);
  return (Seconds() - start) * 1e9 / Count;
}

void Target(HWND window) {
  RAWINPUTDEVICE mouse{0x01, 0x02, RIDEV_INPUTSINK, window};
  RegisterRawInputDevices(&mouse, 1, sizeof mouse);
}

// Moves the pointer back and forth away from the moxel until `timed` has handled `count`
// more events.
void Drive(timed_window& timed, long count) {
  const double start = Seconds();
  const long target = timed.events + count;
  long sent = 0;
  while (timed.events < target && Seconds() - start < 10) {
    if (sent < count) {
      input::MoveBy(sent % 2 ? -1 : 1, 0);
      ++sent;
    }
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message != WM_INPUT || message.hwnd != timed.window) {
        DispatchMessageW(&message);
        continue;
      }
      const double begin = Seconds();
      DispatchMessageW(&message);
      const double took = Seconds() - begin;
      timed.seconds += took;
      timed.each.push_back(took);
      ++timed.events;
    }
  }
  timed.delivery += Seconds() - start;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  const auto middle = values.begin() + std::ptrdiff_t(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
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
  timed_window moxel, baseline;
  moxel.window = FindWindowW(MoxelClassName, L"moxelwindow");
  if (!moxel.window) {
    std::printf("no moxel\n");
    return 1;
  }
  WNDCLASSW wc{};
  wc.lpfnWndProc = ReadOnly;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"raw input baseline";
  RegisterClassW(&wc);
  baseline.window =
      CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);

  const long perRound = 2000;
  for (int round = 0; round < 10; ++round) {
    Target(moxel.window);
    Drive(moxel, perRound);
    Target(baseline.window);
    Drive(baseline, perRound);
  }
  const double moxelNs = moxel.seconds * 1e9 / moxel.events;
  const double baselineNs = baseline.seconds * 1e9 / baseline.events;
  const double moxelDelivery = moxel.delivery * 1e9 / moxel.events;
  const double baselineDelivery = baseline.delivery * 1e9 / baseline.events;
  std::printf("raw input, moves elsewhere (%ld + %ld events)\n", moxel.events, baseline.events);
  std::printf("  per event, sent and handled: moxel %.0f ns, read-only baseline %.0f ns, ratio %.3f, %.0f events/s\n",
              moxelDelivery, baselineDelivery, moxelDelivery / baselineDelivery, 1e9 / moxelDelivery);
  std::printf("  dispatch of WM_INPUT:        moxel %.0f ns, read-only baseline %.0f ns, ratio %.3f\n", moxelNs,
              baselineNs, moxelNs / baselineNs);
  const double moxelMedian = Median(moxel.each) * 1e9, baselineMedian = Median(baseline.each) * 1e9;
  std::printf("    the median event:          moxel %.0f ns, read-only baseline %.0f ns, ratio %.3f\n", moxelMedian,
              baselineMedian, moxelMedian / baselineMedian);
  double moxelSent = 1e30, baselineSent = 1e30;
  for (int round = 0; round < 30; ++round) {
    moxelSent = std::min(moxelSent, SentUnreadable(moxel.window));
    baselineSent = std::min(baselineSent, SentUnreadable(baseline.window));
  }
  std::printf("  sent, event unreadable:      moxel %.0f ns, read-only baseline %.0f ns, ratio %.3f\n", moxelSent,
              baselineSent, moxelSent / baselineSent);
  Target(moxel.window);
  session.RunQuitServices();
  return 0;
}
