// Nothing of the component outlives its use: windows, listeners, GDI objects, classes, timers,
// WinEvent hooks and the raw-input registration, however often it is loaded in one process,
// nor the state of a moxel window that is gone.
#include "simulator/other_program.h"
#include "tests/wine/moxel_fixture.h"

namespace {

BOOL CALLBACK CountOurWindows(HWND window, LPARAM count) {
  wchar_t name[64];
  GetClassNameW(window, name, 64);
  if (wcscmp(name, MoxelClassName) == 0 || wcscmp(name, VolumeBarClassName) == 0) ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int OurWindows() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountOurWindows, reinterpret_cast<LPARAM>(&count));
  return count;
}

bool ClassRegistered(HINSTANCE instance, const wchar_t* name) {
  WNDCLASSEXW info{};
  info.cbSize = sizeof info;
  return GetClassInfoExW(instance, name, &info) != 0;
}

UINT RawInputRegistrations() {
  UINT count = 0;
  GetRegisteredRawInputDevices(nullptr, &count, sizeof(RAWINPUTDEVICE));
  return count;
}

// What the process may hold of the component only while its moxel is up.
void ExpectNothingHeldAfterQuit() {
  EXPECT_EQ(OurWindows(), 0);
  EXPECT_EQ(gdi_counter::OutstandingTimers(), 0u);
  EXPECT_EQ(gdi_counter::OutstandingWinEventHooks(), 0u);
  EXPECT_EQ(RawInputRegistrations(), 0u);
}

// What the process may hold of the component only while it is loaded.
void ExpectNothingHeldAfterUnload(HINSTANCE instance) {
  EXPECT_EQ(gdi_counter::Outstanding(), 0u);
  EXPECT_FALSE(ClassRegistered(instance, MoxelClassName));
  EXPECT_FALSE(ClassRegistered(instance, VolumeBarClassName));
}

TEST_F(MoxelTest, TwoHundredBarCyclesAndTwoLoadsInOneProcessLeaveNothingBehind) {
  Start();
  PointAtMoxel();
  for (int cycle = 0; cycle < 200; ++cycle) {
    input::Wheel(cycle % 2 ? -WHEEL_DELTA : WHEEL_DELTA);
    ASSERT_TRUE(input::PumpUntil([&] { return Bar() != nullptr; })) << "cycle " << cycle;
    ASSERT_TRUE(input::PumpUntil([&] { return !GetUpdateRect(Bar(), nullptr, FALSE); })) << "painted, cycle " << cycle;
    SendMessageW(moxel_, WM_TIMER, 0, 0);
    ASSERT_EQ(Bar(), nullptr) << "cycle " << cycle;
  }
  EXPECT_EQ(session_->host.play_callbacks().listener_count(), 0u);
  EXPECT_EQ(gdi_counter::Outstanding(), 3u);  // the shared bitmaps, nothing per cycle
  EXPECT_GT(gdi_counter::Created(), 200u);
  EXPECT_EQ(gdi_counter::OutstandingTimers(), 0u);  // the bar's, which ends with the bar
  EXPECT_EQ(OurWindows(), 1);

  session_->RunQuitServices();
  ExpectNothingHeldAfterQuit();
  EXPECT_TRUE(ClassRegistered(instance_, MoxelClassName));
  Stop();  // unloads the library
  ExpectNothingHeldAfterUnload(instance_);

  // Loaded again, now watching for full-screen windows through WinEvent hooks.
  Start(ConfigurationWith({{LeftClick, 0, PlayOrPause}}) + Entry(FullscreenId, Le32(1)));
  EXPECT_GT(gdi_counter::OutstandingWinEventHooks(), 0u);
  EXPECT_EQ(RawInputRegistrations(), 1u);
  session_->RunQuitServices();
  ExpectNothingHeldAfterQuit();
  Stop();
  ExpectNothingHeldAfterUnload(instance_);
}

TEST_F(MoxelTest, UnloadWithoutQuitTakesTheMoxelAlong) {
  Start();
  session_.reset();  // a host that never called quit
  ExpectNothingHeldAfterQuit();
  EXPECT_EQ(gdi_counter::Outstanding(), 0u);
}

// Quit while the moxel is hovered with its bar up, then while it stands aside: the moxel of
// the next init starts small, shown and without a bar.
TEST_F(MoxelTest, AMoxelMadeAgainStartsFresh) {
  Start(ConfigurationWith({}) + Entry(FullscreenId, Le32(1)));
  const auto madeAgain = [&] {
    session_->RunInitServices();
    moxel_ = FindWindowW(MoxelClassName, MoxelTitle);
    ASSERT_NE(moxel_, nullptr);
  };
  PointAtMoxel();
  input::Wheel(WHEEL_DELTA);
  ASSERT_TRUE(input::PumpUntil([&] { return Bar() != nullptr; }));
  session_->RunQuitServices();
  input::MoveTo(600, 500);
  madeAgain();
  EXPECT_PRED2(SameRect, WindowRect(moxel_), Square(0, 7)) << Text(WindowRect(moxel_));
  EXPECT_EQ(Bar(), nullptr);

  {
    other_program covering(MainScreen());
    covering.TakeForeground();
    ASSERT_TRUE(input::PumpUntil([&] { return !IsWindowVisible(moxel_); }));
    session_->RunQuitServices();
  }
  madeAgain();
  EXPECT_TRUE(IsWindowVisible(moxel_));
  EXPECT_PRED2(SameRect, WindowRect(moxel_), Square(0, 7)) << Text(WindowRect(moxel_));
}

}  // namespace
