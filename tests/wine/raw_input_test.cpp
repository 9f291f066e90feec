// The process has one raw-input registration for the mouse: a window of the player that held
// it before the moxel came keeps every event while the moxel runs, and holds it alone again
// after quit.
#include "tests/wine/moxel_fixture.h"

namespace {

// The player's own reader of raw mouse input.
struct reader_counts {
  long events = 0;      // WM_INPUT that read as mouse events
  long wheels = 0;      // of them, wheel turns
  long unreadable = 0;  // WM_INPUT whose event could not be read
};
reader_counts g_reader;
long g_moxelEvents = 0;  // WM_INPUT taken from the queue for the moxel
HWND g_moxel = nullptr;

LRESULT CALLBACK ReadRawInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INPUT) return DefWindowProcW(window, message, wParam, lParam);
  RAWINPUT raw;
  UINT size = sizeof raw;
  if (GetRawInputData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, &raw, &size, sizeof(RAWINPUTHEADER)) ==
          UINT(-1) ||
      raw.header.dwType != RIM_TYPEMOUSE) {
    ++g_reader.unreadable;
  } else {
    ++g_reader.events;
    if (raw.data.mouse.usButtonFlags & RI_MOUSE_WHEEL) ++g_reader.wheels;
  }
  return 0;
}

LRESULT CALLBACK CountMoxelInput(int code, WPARAM removed, LPARAM message) {
  const MSG& taken = *reinterpret_cast<const MSG*>(message);
  if (code == HC_ACTION && removed == PM_REMOVE && taken.message == WM_INPUT && taken.hwnd == g_moxel) ++g_moxelEvents;
  return CallNextHookEx(nullptr, code, removed, message);
}

// The process's registration for the mouse; no usage page when there is none.
RAWINPUTDEVICE MouseRegistration() {
  RAWINPUTDEVICE devices[8];
  UINT count = std::size(devices);
  const UINT read = GetRegisteredRawInputDevices(devices, &count, sizeof(RAWINPUTDEVICE));
  for (UINT i = 0; i < read && read != UINT(-1); ++i)
    if (devices[i].usUsagePage == 0x01 && devices[i].usUsage == 0x02) return devices[i];
  return {};
}

class RawInputTest : public MoxelTest {
 protected:
  void SetUp() override {
    MoxelTest::SetUp();
    WNDCLASSW wc{};
    wc.lpfnWndProc = ReadRawInput;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"player raw input reader";
    RegisterClassW(&wc);
    reader_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(reader_, nullptr);
    const RAWINPUTDEVICE mouse{0x01, 0x02, RIDEV_INPUTSINK, reader_};
    ASSERT_TRUE(RegisterRawInputDevices(&mouse, 1, sizeof mouse));
  }
  void TearDown() override {
    MoxelTest::TearDown();
    if (hook_) UnhookWindowsHookEx(hook_);
    const RAWINPUTDEVICE none{0x01, 0x02, RIDEV_REMOVE, nullptr};
    RegisterRawInputDevices(&none, 1, sizeof none);
    if (reader_) DestroyWindow(reader_);
  }

  // Starts the player with its reader registered, and counts from then on what the moxel and
  // the reader get (the reader alone got the pointer's move to its place before init).
  void StartCounting() {
    Start();
    // The events sent to the reader alone before init leave the queue first.
    ASSERT_TRUE(input::PumpUntilInputHandled());
    g_moxel = moxel_;
    hook_ = SetWindowsHookExW(WH_GETMESSAGE, CountMoxelInput, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook_, nullptr);
    g_reader = {};
    g_moxelEvents = 0;
  }

  // Moves and turns the wheel away from the moxel, `notches` times, until the reader has read
  // every wheel turn.
  void MoveAndTurn(long notches) {
    const long wheels = g_reader.wheels + notches;
    for (long i = 0; i < notches; ++i) {
      input::MoveBy(i % 2 ? -3 : 3, 0);
      input::Wheel(WHEEL_DELTA);
    }
    EXPECT_TRUE(input::PumpUntil([&] { return g_reader.wheels >= wheels; })) << g_reader.wheels << " of " << wheels;
  }

  // Moves and turns as above: the reader reads each event that the moxel takes, within its
  // handling.
  void ExpectEveryEventForwarded(long notches) {
    MoveAndTurn(notches);
    EXPECT_GE(g_moxelEvents, notches);
    EXPECT_EQ(g_reader.events, g_moxelEvents);
    EXPECT_EQ(g_reader.unreadable, 0);
  }

  HWND reader_ = nullptr;
  HHOOK hook_ = nullptr;
};

TEST_F(RawInputTest, AWindowThatHeldTheMouseBeforeGetsEveryEventAndTheRegistrationBack) {
  StartCounting();
  EXPECT_EQ(MouseRegistration().hwndTarget, moxel_);
  ExpectEveryEventForwarded(20);

  Stop();
  const RAWINPUTDEVICE back = MouseRegistration();
  EXPECT_EQ(back.hwndTarget, reader_);
  EXPECT_EQ(back.dwFlags, DWORD(RIDEV_INPUTSINK));
  // Registered again, not only listed: the events come to the reader itself.
  const long moxelEvents = g_moxelEvents;
  MoveAndTurn(5);
  EXPECT_EQ(g_moxelEvents, moxelEvents);
  EXPECT_EQ(g_reader.unreadable, 0);
}

TEST_F(RawInputTest, AnEarlierTargetThatIsGoneByQuitLeavesNoRegistration) {
  StartCounting();
  DestroyWindow(reader_);
  reader_ = nullptr;
  input::Wheel(WHEEL_DELTA);
  EXPECT_TRUE(input::PumpUntil([] { return g_moxelEvents > 0; }));  // the moxel still reads its events
  Stop();
  EXPECT_EQ(MouseRegistration().usUsagePage, 0);
}

TEST_F(RawInputTest, ARegistrationWithoutATargetHasTheKeyboardFocusReadEveryEventAndGetsItBack) {
  // The player's registration follows the keyboard focus, which its reader holds in front.
  const RAWINPUTDEVICE followsFocus{0x01, 0x02, 0, nullptr};
  ASSERT_TRUE(RegisterRawInputDevices(&followsFocus, 1, sizeof followsFocus));
  StartCounting();
  SetWindowPos(reader_, HWND_TOP, 300, 300, 50, 50, SWP_SHOWWINDOW);
  SetForegroundWindow(reader_);
  SetFocus(reader_);
  ASSERT_TRUE(input::PumpUntil([&] { return GetFocus() == reader_; })) << GetFocus();
  ExpectEveryEventForwarded(10);

  Stop();
  const RAWINPUTDEVICE back = MouseRegistration();
  EXPECT_EQ(back.usUsagePage, 0x01);
  EXPECT_EQ(back.hwndTarget, nullptr);
  EXPECT_EQ(back.dwFlags, 0u);
}

}  // namespace
