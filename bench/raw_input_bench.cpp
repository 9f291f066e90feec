// The moxel's raw-input handling of mouse events that are not a wheel turn over it (moves
// elsewhere), against a window whose handler only reads the event, in the same run, its
// procedure in a library of its own as the moxel's is. Each WM_INPUT's dispatch to its window
// is timed in the message loop; raw input goes to one target at a time, so the windows take turns, and
// besides the mean the median event is given, which a machine's passing load does not move.
// Last, the same message with an event handle that cannot be read is sent to each in tight
// loops, taking turns, which leaves the window framework's own share with warm caches.
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

extern "C" __declspec(dllimport) LRESULT CALLBACK ReadOnlyWindowProc(HWND, UINT, WPARAM, LPARAM);

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

}  // namespace

int main() {
  // The player's main window has the foreground, as it would: Wine sends raw input only while
  // some window has the foreground or the pointer is over a window.
  const HWND player = CreateWindowExW(0, L"STATIC", L"quorbel", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 600, 300, 200,
                                      nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(player);
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  player_session session(BinFolder() + L"\\moxel_control.dll", std::wstring(temp) + L"moxel_bench_profile");
  session.LoadConfiguration();
  input::MoveTo(600, 500);
  session.RunInitServices();
  input::Pump(200);
  timed_window windows[2];  // the moxel, and a read-only window whose procedure is in a library as the moxel's is
  windows[0].window = FindWindowW(MoxelClassName, MoxelTitle);
  if (!windows[0].window) {
    std::printf("no moxel\n");
    return 1;
  }
  WNDCLASSW wc{};
  wc.lpfnWndProc = ReadOnlyWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"raw input baseline";
  RegisterClassW(&wc);
  windows[1].window =
      CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);

  const long perRound = 2000;
  // Each round's ratio of the two windows' dispatch time per event: rounds lie close in time,
  // so that a machine's passing load weighs on both sides of one ratio.
  std::vector<double> roundRatios;
  for (int round = 0; round < 10; ++round) {
    double perEventThisRound[2];
    for (int i = 0; i < 2; ++i) {
      timed_window& timed = windows[i];
      const double seconds = timed.seconds;
      const long events = timed.events;
      Target(timed.window);
      Drive(timed, perRound);
      perEventThisRound[i] = (timed.seconds - seconds) / double(std::max(1L, timed.events - events));
    }
    roundRatios.push_back(perEventThisRound[0] / perEventThisRound[1]);
  }
  const timed_window &moxel = windows[0], &baseline = windows[1];
  std::printf("raw input, moves elsewhere (%ld + %ld events), against the read-only window\n", moxel.events,
              baseline.events);
  const auto perEvent = [](const timed_window& timed, double timed_window::*field) {
    return timed.*field * 1e9 / timed.events;
  };
  double sent[2] = {1e30, 1e30};
  for (int round = 0; round < 30; ++round) {
    for (int i = 0; i < 2; ++i) sent[i] = std::min(sent[i], SentUnreadable(windows[i].window));
  }
  std::printf("  moxel %.0f events/s\n", 1e9 / perEvent(moxel, &timed_window::delivery));
  const double moxelDelivery = perEvent(moxel, &timed_window::delivery);
  const double baselineDelivery = perEvent(baseline, &timed_window::delivery);
  std::printf("    per event, sent and handled: moxel %.0f ns, baseline %.0f ns, ratio %.3f\n", moxelDelivery,
              baselineDelivery, moxelDelivery / baselineDelivery);
  const double moxelNs = perEvent(moxel, &timed_window::seconds);
  const double baselineNs = perEvent(baseline, &timed_window::seconds);
  std::printf(
      "    dispatch of WM_INPUT:        moxel %.0f ns, baseline %.0f ns, ratio %.3f; median of the rounds' ratios "
      "%.3f\n",
      moxelNs, baselineNs, moxelNs / baselineNs, Median(roundRatios));
  const double moxelMedian = Median(moxel.each) * 1e9, baselineMedian = Median(baseline.each) * 1e9;
  std::printf("      the median event:          moxel %.0f ns, baseline %.0f ns, ratio %.3f\n", moxelMedian,
              baselineMedian, moxelMedian / baselineMedian);
  std::printf("    sent, event unreadable:      moxel %.0f ns, baseline %.0f ns, ratio %.3f\n", sent[0], sent[1],
              sent[0] / sent[1]);
  Target(windows[0].window);
  session.RunQuitServices();
  return 0;
}
