// The moxel and the page driven through real input and messages while host services throw.
#include "host.h"

#include "../../resources/window_classes.h"

namespace {

constexpr GUID PlayOrPause = {0x90500F09, 0xF16F, 0x415E, {0xA0, 0x47, 0xAC, 0x50, 0x45, 0xC9, 0x5F, 0xFE}};
constexpr GUID Previous = {0x059C4566, 0x4708, 0x4EBF, {0x81, 0x39, 0x6A, 0x8E, 0xA5, 0xA9, 0xDF, 0xC8}};
constexpr GUID Stop = {0x13C17E8D, 0x0D6F, 0x41A4, {0xB2, 0x4A, 0x59, 0x37, 0x10, 0x43, 0xE9, 0x25}};
constexpr GUID Next = {0xE58895A0, 0xA2F0, 0x45B6, {0x87, 0x99, 0x14, 0x40, 0xE4, 0xDB, 0x72, 0x84}};
constexpr GUID Random = {0x8DEBC44E, 0xEDA2, 0x48D4, {0x86, 0x96, 0x31, 0xFC, 0x29, 0xD1, 0xF3, 0x83}};
constexpr int AddNew = 1003, BindingList = 1002;

void SendMouse(DWORD flags, LONG dx, LONG dy, DWORD data) {
  INPUT event{};
  event.mi.dx = dx;
  event.mi.dy = dy;
  event.mi.mouseData = data;
  event.mi.dwFlags = flags;
  SendInput(1, &event, sizeof event);
}

void MoveTo(int x, int y) {
  SendMouse(MouseMove | MouseAbsolute, LONG((x * 65536 + 32768) / GetSystemMetrics(ScreenWidth)),
            LONG((y * 65536 + 32768) / GetSystemMetrics(ScreenHeight)), 0);
}

void Click(DWORD down, DWORD up) {
  SendMouse(down, 0, 0, 0);
  SendMouse(up, 0, 0, 0);
}

void Notch() { SendMouse(MouseWheel, 0, 0, 120); }

bool HasRect(HWND window, LONG left, LONG top, LONG right, LONG bottom) {
  RECT rect{};
  return window && GetWindowRect(window, &rect) && rect.left == left && rect.top == top && rect.right == right &&
         rect.bottom == bottom;
}

// The frame the volume bar beside the moxel shows: its lit columns, three to a level, read
// on the screen in the frame's sixth row (lit 110, unlit 73).
int ShownLevel() {
  const HDC screen = GetDC(nullptr);
  int lit = 0;
  for (int x = 1; x <= 57; ++x) lit += (GetPixel(screen, 14 + x, 6) & 0xFF) > 92 ? 1 : 0;
  ReleaseDC(nullptr, screen);
  return lit / 3;
}

int LiveHostExceptions() {
  return int(g_exception_counts.constructed + g_exception_counts.copied) - int(g_exception_counts.destroyed);
}

// How often the host's shared library filtered an exception.
unsigned FilterCalls() {
  typedef unsigned(__cdecl * count_function)();
  const auto count = reinterpret_cast<count_function>(GetProcAddress(GetModuleHandleW(L"shared.dll"), "filter_calls"));
  return count ? count() : 0xFFFFFFFF;
}

// The decorated class name of the last C++ exception the filter saw.
const char* LastFilteredType() {
  typedef const char*(__cdecl * type_function)();
  const auto type =
      reinterpret_cast<type_function>(GetProcAddress(GetModuleHandleW(L"shared.dll"), "last_filtered_type"));
  return type ? type() : "";
}

void FirstRunInstallsTheDefaults(component& loaded) {
  const binding old[1] = {{1, 0, Next}};
  ReadConfiguration(
      loaded, Entry(FlagId, Value(0)).append(Entry(ListId, Bindings(old, 1))).append(Entry(SensitivityId, Value(300))));
  loaded.init->on_init();
  const HWND moxel = FindWindowW(MoxelClassName, MoxelTitle);
  check(HasRect(moxel, 0, 0, 7, 7), "on_init shows the 7 by 7 moxel at the screen's corner");
  const binding defaults[9] = {{1, 0, PlayOrPause}, {1, 0x04, Previous}, {2, 0, Stop},
                               {2, 0x04, Next},     {3, 0, Random},      {4, 0, Previous},
                               {5, 0, Next},        {6, 0, Previous},    {7, 0, Next}};
  check_bytes(WriteConfiguration(loaded),
              Entry(SensitivityId, Value(128))
                  .append(Entry(FlagId, Value(1)))
                  .append(Entry(ListId, Bindings(defaults, 9)))
                  .append(Entry(CornerId, Value(0)))
                  .append(Entry(ScreenId, Value(0)))
                  .append(Entry(FullscreenId, Value(0))),
              "the first run installs the nine default bindings");
  loaded.init->on_quit();
  check(!IsWindow(moxel), "on_quit destroys the moxel");
}

void ThrowingCommand(player_host& host) {
  const int before = LiveHostExceptions();
  host.commands.throws = true;
  Click(MouseLeftDown, MouseLeftUp);
  check(PumpUntil([&] { return host.commands.executed[1] == 1; }) && host.resolver.asked == menus::Throwing,
        "a click asks the host's resolver for the bound command and runs it, which throws; the host runs on");
  check(host.resolver.references == 1 && host.commands.references == 1 && LiveHostExceptions() == before,
        "the throwing command leaves every reference and exception object balanced",
        "resolver %d, provider %d references; %d host exception objects alive", host.resolver.references,
        host.commands.references, LiveHostExceptions() - before);
  Click(MouseRightDown, MouseRightUp);
  Click(MouseLeftDown, MouseLeftUp);
  const bool ranAgain = PumpUntil([&] { return host.commands.executed[1] == 2; });
  check(ranAgain && host.commands.executed[0] == 1, "the moxel goes on running commands", "Play %d, Throwing %d times",
        host.commands.executed[0], host.commands.executed[1]);
}

// A command whose execute rethrows from its catch block.
void RethrowingCommand(player_host& host) {
  const int live = disk_error::live;
  {
    rethrow inFlight(rethrow_site::execute);
    Click(MouseLeftDown, MouseLeftUp);
    const bool raised = PumpUntil([&] { return inFlight.raised > 0; });
    check(raised && inFlight.raised == 1,
          "a click whose command rethrows the host's exception in flight; the host runs on", "rethrown %d times",
          inFlight.raised);
  }
  check(host.resolver.references == 1 && host.commands.references == 1 && disk_error::live == live,
        "the rethrowing command leaves every reference and exception object balanced",
        "resolver %d, provider %d references; %d disk_error objects alive", host.resolver.references,
        host.commands.references, disk_error::live - live);
}

void RethrowingVolume(player_host& host) {
  host_playback& playback = host.playback;
  const float volume = playback.volume;
  const int live = disk_error::live;
  {
    rethrow inFlight(rethrow_site::set_volume);
    Notch();
    const bool raised = PumpUntil([&] { return inFlight.raised > 0; });
    check(raised && inFlight.raised == 1 && playback.volume == volume,
          "a wheel step whose set_volume rethrows the host's exception in flight ends the step; the host runs on",
          "rethrown %d times", inFlight.raised);
  }
  check(playback.references == 1 && disk_error::live == live,
        "the rethrowing set_volume leaves every reference and exception object balanced",
        "%d references; %d disk_error objects alive", playback.references, disk_error::live - live);
}

void Wheel(player_host& host) {
  host_playback& playback = host.playback;
  playback.volume = -6.0f;
  playback.set_throws = true;
  const int before = LiveHostExceptions();
  Notch();
  const bool called = PumpUntil([&] { return playback.set_calls > 0; });
  check(called && playback.set_calls == 1 && playback.volume == -6.0f && !FindWindowW(VolumeBarClassName, nullptr),
        "a wheel step whose set_volume throws ends the step; the host runs on", "%d set_volume calls",
        playback.set_calls);
  check(playback.references == 1 && LiveHostExceptions() == before,
        "the throwing set_volume leaves every reference and exception object balanced",
        "%d references; %d host exception objects alive", playback.references, LiveHostExceptions() - before);

  playback.set_throws = false;
  Notch();
  const bool stepped = PumpUntil([&] { return playback.set_calls > 1; });
  const float step = playback.volume + 4.550f;
  check(stepped && step > -0.001f && step < 0.001f, "a notch up from -6 dB reads and sets the float volume: -4.550 dB",
        "%d mdB", int(playback.volume * 1000.0f));
  const HWND bar = FindWindowW(VolumeBarClassName, VolumeBarTitle);
  check(HasRect(bar, 14, 0, 73, 14), "the volume bar is up beside the moxel");
  const bool shown = PumpUntil([] { return ShownLevel() == 11; });
  check(shown, "the bar shows the level of the volume it reads", "frame %d", ShownLevel());

  play_callback* listener = host.callbacks.registered;
  if (!check(listener && host.callbacks.flags == 0xFFFFFFFF && !host.callbacks.forward_status,
             "the bar listens to the host's playback events"))
    return;
  playback.volume = -3.0f;
  const int reads = playback.get_calls;
  listener->on_volume_change(-3.0f);
  const bool changed = PumpUntil([] { return ShownLevel() == 13; });
  const int level = ShownLevel();
  check(changed && playback.get_calls == reads + 1, "on_volume_change(float) makes the bar show the host's volume",
        "%d volume reads, frame %d", playback.get_calls - reads, level);

  host_object track;
  int leftOver = 0;
  for (unsigned slot = 0; slot < 9; ++slot) {
    uintptr_t arguments[2] = {7, 0};
    if (PlayCallbackTakesReference[slot]) {
      track.service_add_ref();
      arguments[0] = reinterpret_cast<uintptr_t>(&track);
    }
    uintptr_t returned = 0;
    const int left = CallMember(listener, slot, arguments, PlayCallbackArgumentWords[slot], &returned);
    if (left != 0) note("notification [%u] left %d bytes on the stack", slot, left);
    leftOver |= left;
  }
  check(leftOver == 0 && track.references == 1,
        "the other nine notifications leave the stack as it was and release the references they get",
        "%d references left", track.references - 1);
}

void ThrowingPageCallback(player_host& host, component& loaded) {
  preferences_page_instance* page = nullptr;
  try {
    page = loaded.page->instantiate(host.window, &host.page_callback);
  } catch (...) {
  }
  if (!check(page != nullptr, "the page is instantiated")) return;
  const HWND dialog = page->get_wnd();
  const LRESULT rowsBefore = SendMessageW(GetDlgItem(dialog, BindingList), ListViewItemCount, 0, 0);
  const unsigned filtered = FilterCalls();
  const int misdirected = g_misdirected_guid_calls;
  const int liveBefore = LiveHostExceptions();
  host.page_callback.throws = true;
  SendMessageW(dialog, Command, WPARAM(AddNew | ButtonClicked << 16), LPARAM(GetDlgItem(dialog, AddNew)));
  check(host.page_callback.calls == 1 && FilterCalls() == filtered + 1,
        "an edit whose on_state_changed throws ends in the host's exception filter; the host runs on",
        "%d notifications, %u filtered, %d refused GUID calls among them", host.page_callback.calls,
        FilterCalls() - filtered, g_misdirected_guid_calls - misdirected);
  check(strcmp(LastFilteredType(), ".?AVruntime_error@std@@") == 0,
        "the filter sees the host's own runtime_error, raised with the host's throw information", "%s",
        LastFilteredType());
  check(LiveHostExceptions() == liveBefore, "every copy of the host's exception is destroyed",
        "%d host exception objects alive", LiveHostExceptions() - liveBefore);
  host.page_callback.throws = false;
  SendMessageW(dialog, Command, WPARAM(AddNew | ButtonClicked << 16), LPARAM(GetDlgItem(dialog, AddNew)));
  const LRESULT rows = SendMessageW(GetDlgItem(dialog, BindingList), ListViewItemCount, 0, 0);
  check(host.page_callback.calls == 2 && rows == rowsBefore + 2 && page->get_state() == 9,
        "the page goes on editing: each click adds a row", "%d notifications, %d rows before, %d after",
        host.page_callback.calls, int(rowsBefore), int(rows));
  page->service_release();
  check(!IsWindow(dialog) && host.page_callback.references == 1,
        "the released page is gone with its callback reference", "%d references", host.page_callback.references);
}

}  // namespace

void RunWindowChecks(player_host& host, component& loaded) {
  SystemParametersInfoW(SetWheelScrollLines, 3, nullptr, 0);
  SetForegroundWindow(host.window);  // raw input reaches a process whose window has the foreground
  MoveTo(600, 500);
  note("the first run");
  FirstRunInstallsTheDefaults(loaded);

  const binding bindings[2] = {{1, 0, menus::Throwing}, {2, 0, menus::Play}};
  ReadConfiguration(loaded, Entry(FlagId, Value(1)).append(Entry(ListId, Bindings(bindings, 2))));
  loaded.init->on_init();
  MoveTo(3, 3);
  const HWND moxel = FindWindowW(MoxelClassName, MoxelTitle);
  check(PumpUntil([&] { return HasRect(moxel, 0, 0, 14, 14); }), "the moxel grows to 14 by 14 under the pointer");
  try {
    note("clicks");
    ThrowingCommand(host);
    RethrowingCommand(host);
    note("the wheel and the volume bar");
    Wheel(host);
    RethrowingVolume(host);
    note("the page");
    ThrowingPageCallback(host, loaded);
  } catch (const std::exception& error) {
    check(false, "no exception reaches the host's message loop", "\"%s\"", error.what());
  } catch (...) {
    check(false, "no exception reaches the host's message loop", "an exception of no known class");
  }
  loaded.init->on_quit();
  check(!IsWindow(moxel) && !FindWindowW(VolumeBarClassName, nullptr) && !host.callbacks.registered,
        "on_quit removes the moxel and the bar, which stops listening");
  MoveTo(600, 500);
}
