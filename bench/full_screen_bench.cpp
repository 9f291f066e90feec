// The player's thread's share of following full-screen programs: the system's accessibility
// events as another thread raises them, handled on the moxel's thread with the option on,
// against the same stream with the option off in the same run, both as it is (nothing
// hooked) and with empty hooks of the same events (their delivery alone). The streams are
// moves of the window in front, which the moxel measures again, and moves of the caret in
// it, which it filters out like the pointer's (Wine raises no event without a window, as the
// pointer's are). The time the player's thread spends in its message loop's work is summed
// per event, over all rounds and in the fastest round of each, which a machine's passing load
// does not reach.
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "bench_support.h"
#include "resources/window_classes.h"
#include "simulator/input.h"
#include "simulator/other_program.h"
#include "simulator/player_session.h"
#include "simulator/profile_store.h"
#include "tests/stream_bytes.h"

namespace {

constexpr long Events = 3000;  // a round's stream
constexpr int Rounds = 5;      // after one that warms up, not counted

struct stream {
  const char* name;
  bool covering;  // the window in front covers the screen while the stream runs
  LONG object;    // what moves: the window itself or its caret
};
constexpr stream Streams[] = {{"full-screen window in front moves", true, OBJID_WINDOW},
                              {"smaller window in front moves", false, OBJID_WINDOW},
                              {"caret moves in the full-screen window", true, OBJID_CARET}};
constexpr size_t StreamCount = std::size(Streams);

enum class mode { on, off, empty_hook };

struct figures {
  double busy = 0;   // the player's thread in its message loop's work, seconds
  double total = 0;  // from the first event raised until the last one was handled
  long events = 0;
};

struct stream_request {
  const stream* kind;
  HWND front;
  RECT last;  // where the window goes with the last event, which shows or hides the moxel
};

// The stream, then the window's move that ends it.
DWORD WINAPI Raise(void* parameter) {
  const auto& request = *static_cast<const stream_request*>(parameter);
  for (long i = 0; i < Events; ++i)
    NotifyWinEvent(EVENT_OBJECT_LOCATIONCHANGE, request.front, request.kind->object, CHILDID_SELF);
  const RECT& r = request.last;
  SetWindowPos(request.front, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  NotifyWinEvent(EVENT_OBJECT_LOCATIONCHANGE, request.front, OBJID_WINDOW, CHILDID_SELF);
  return 0;
}

// The events the watch hooks, hooked by the empty hooks too: each hook costs the raising of
// every event something, which changes how the player's thread receives them.
constexpr DWORD WatchedRanges[][2] = {{EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND},
                                      {EVENT_SYSTEM_MINIMIZESTART, EVENT_SYSTEM_MINIMIZEEND},
                                      {EVENT_OBJECT_DESTROY, EVENT_OBJECT_HIDE},
                                      {EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE}};

long g_delivered = 0;
void CALLBACK CountEvent(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) { ++g_delivered; }

void PumpUntilMoxelShown(HWND moxel, bool shown) {
  if (!input::PumpUntil([&] { return (IsWindowVisible(moxel) != FALSE) == shown; }))
    std::printf("the moxel did not follow the window in front in time\n");
}

// Pumps the player's thread while another thread raises the stream, until all of it is
// handled: the moxel shown or hidden by the last move (on), every event counted (empty
// hook), or the raising done (off).
void Run(const stream& kind, mode how, HWND moxel, const other_program& front, const RECT& screen, figures& into) {
  const RECT smaller{screen.left, screen.top, screen.right, screen.bottom - 1};
  front.Place(kind.covering ? screen : smaller);
  const bool on = how == mode::on;
  PumpUntilMoxelShown(moxel, !on || !kind.covering);
  stream_request request{&kind, front.window(), kind.covering ? smaller : screen};
  g_delivered = 0;
  const double start = Seconds();
  const HANDLE raiser = CreateThread(nullptr, 0, Raise, &request, 0, nullptr);
  for (;;) {
    const double begin = Seconds();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    into.busy += Seconds() - begin;
    const bool raised = WaitForSingleObject(raiser, 0) == WAIT_OBJECT_0;
    if (raised && (on ? (IsWindowVisible(moxel) != FALSE) == kind.covering : how == mode::off || g_delivered > Events))
      break;
    MsgWaitForMultipleObjectsEx(1, &raiser, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
  into.total += Seconds() - start;
  into.events += Events;
  CloseHandle(raiser);
}

}  // namespace

int main() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring profile = std::wstring(temp) + L"full_screen_bench_profile";
  CreateDirectoryW(profile.c_str(), nullptr);
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  figures results[Rounds + 1][StreamCount][3];  // by round (the first warms up), stream, then mode
  for (int round = -1; round < Rounds; ++round) {
    for (uint32_t option : {0u, 1u}) {
      SaveProfileFile(profile + L"\\" + player_session::ConfigurationName,
                      Entry(FlagId, Le32(1)) + Entry(FullscreenId, Le32(option)));
      player_session session(BinFolder() + L"\\moxel_control.dll", profile);
      session.LoadConfiguration();
      session.RunInitServices();
      input::Pump(100);
      const HWND moxel = FindWindowW(MoxelClassName, MoxelTitle);
      other_program front(screen);
      front.TakeForeground();
      input::Pump(100);
      if (!moxel || (IsWindowVisible(moxel) != FALSE) == bool(option)) {
        std::printf("no moxel, or not aside with the option %u\n", option);
        return 1;
      }
      for (size_t i = 0; i < StreamCount; ++i) {
        figures* byMode = results[round + 1][i];
        if (option) {
          Run(Streams[i], mode::on, moxel, front, screen, byMode[int(mode::on)]);
          continue;
        }
        Run(Streams[i], mode::off, moxel, front, screen, byMode[int(mode::off)]);
        HWINEVENTHOOK empty[std::size(WatchedRanges)];
        for (size_t h = 0; h < std::size(WatchedRanges); ++h)
          empty[h] = SetWinEventHook(WatchedRanges[h][0], WatchedRanges[h][1], nullptr, CountEvent, 0, 0,
                                     WINEVENT_OUTOFCONTEXT);
        Run(Streams[i], mode::empty_hook, moxel, front, screen, byMode[int(mode::empty_hook)]);
        for (const HWINEVENTHOOK hook : empty) UnhookWinEvent(hook);
      }
      session.RunQuitServices();
    }
  }
  const auto ns = [](const figures& f, double figures::*field) { return f.*field * 1e9 / f.events; };
  std::printf("following full-screen programs, %ld location events a stream, %d rounds\n", Events, Rounds);
  for (size_t i = 0; i < StreamCount; ++i) {
    figures all[3];                          // by mode, over the counted rounds
    double fastest[3] = {1e30, 1e30, 1e30};  // the player's thread per event, ns
    std::vector<double> ratios;              // on/empty in each round, the player's thread
    for (int round = 1; round <= Rounds; ++round) {
      for (int m = 0; m < 3; ++m) {
        const figures& f = results[round][i][m];
        all[m].busy += f.busy;
        all[m].total += f.total;
        all[m].events += f.events;
        fastest[m] = std::min(fastest[m], ns(f, &figures::busy));
      }
      const figures* byMode = results[round][i];
      ratios.push_back(ns(byMode[int(mode::on)], &figures::busy) / ns(byMode[int(mode::empty_hook)], &figures::busy));
    }
    const figures &on = all[int(mode::on)], &off = all[int(mode::off)], &empty = all[int(mode::empty_hook)];
    std::printf("  %s\n", Streams[i].name);
    std::printf(
        "    player's thread per event: on %.0f ns, off %.0f ns, off with an empty hook %.0f ns; "
        "ratio on/empty %.3f\n",
        ns(on, &figures::busy), ns(off, &figures::busy), ns(empty, &figures::busy),
        ns(on, &figures::busy) / ns(empty, &figures::busy));
    std::printf(
        "    the same in the fastest round: on %.0f ns, off %.0f ns, empty hook %.0f ns; ratio on/empty %.3f; "
        "median of the rounds' ratios %.3f\n",
        fastest[int(mode::on)], fastest[int(mode::off)], fastest[int(mode::empty_hook)],
        fastest[int(mode::on)] / fastest[int(mode::empty_hook)], Median(ratios));
    std::printf(
        "    raised and handled per event: on %.0f ns, off %.0f ns, ratio %.3f; empty hook %.0f ns, "
        "ratio on/empty %.3f\n",
        ns(on, &figures::total), ns(off, &figures::total), ns(on, &figures::total) / ns(off, &figures::total),
        ns(empty, &figures::total), ns(on, &figures::total) / ns(empty, &figures::total));
  }
  return 0;
}
