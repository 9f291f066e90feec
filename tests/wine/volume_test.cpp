// Wheel volume over the moxel and the volume bar, read back from the host and the screen.
#include "tests/wine/moxel_fixture.h"

#include <cmath>
#include <stdexcept>

#include "host/boundary/boundary.h"
#include "simulator/screen.h"
#include "volumebar/volume_level.h"

namespace {

// The colour the bar's frame `level` has at (x, y).
COLORREF FramePixel(int level, int x, int y) {
  static const int unlit[12] = {94, 91, 87, 83, 78, 73, 68, 63, 59, 55, 51, 48};
  static const int lit[12] = {141, 136, 130, 124, 117, 110, 102, 95, 89, 82, 76, 72};
  const bool borderRow = y == 0 || y == 13, borderColumn = x == 0 || x == 58;
  if (borderRow && borderColumn) return RGB(141, 140, 140);
  if (borderRow || borderColumn) return RGB(125, 125, 125);
  const int grey = (x - 1 < 3 * level ? lit : unlit)[y - 1];
  return RGB(grey, grey, grey);
}

// Whether the screen shows frame `level` where the bar is, within the artwork's dither.
::testing::AssertionResult ScreenShowsFrame(int level) {
  const screen_capture bar = CaptureScreen({14, 0, 73, 14});
  for (int y = 0; y < 14; ++y) {
    for (int x = 0; x < 59; ++x) {
      const COLORREF seen = bar.At(x, y), expected = FramePixel(level, x, y);
      if (std::abs(GetRValue(seen) - GetRValue(expected)) > 1 || std::abs(GetGValue(seen) - GetGValue(expected)) > 1)
        return ::testing::AssertionFailure()
               << "pixel " << x << "," << y << " is " << int(GetRValue(seen)) << " for frame " << level;
    }
  }
  return ::testing::AssertionSuccess();
}

class WheelTest : public MoxelTest {
 protected:
  void SetUp() override {
    MoxelTest::SetUp();
    SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, 3, nullptr, 0);
  }
  void Notch(int delta) {
    input::Wheel(delta);
    ASSERT_TRUE(input::PumpUntilInputHandled());
  }
};

TEST_F(WheelTest, NotchOverTheMoxelStepsTheHostVolume) {
  Start();
  PointAtMoxel();
  Playback().set_volume(-6.0f);
  Notch(WHEEL_DELTA);
  EXPECT_NEAR(Playback().get_volume(), -4.550f, 0.001f);
  Playback().set_volume(-6.0f);
  Notch(-WHEEL_DELTA);
  EXPECT_NEAR(Playback().get_volume(), -7.742f, 0.001f);
  Playback().set_volume(-20.0f);
  Notch(-WHEEL_DELTA);
  EXPECT_NEAR(Playback().get_volume(), -26.114f, 0.001f);
  Playback().set_volume(-40.0f);
  Notch(-WHEEL_DELTA);  // silence: negative infinity, which the host brings to its minimum
  EXPECT_EQ(Playback().get_volume(), simulated_playback::MinimumDb);

  SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, 0, nullptr, 0);
  const int calls = Playback().set_volume_calls();
  Notch(WHEEL_DELTA);  // no lines: the same volume again, and the bar all the same
  EXPECT_EQ(Playback().set_volume_calls(), calls + 1);
  EXPECT_EQ(Playback().get_volume(), simulated_playback::MinimumDb);
  EXPECT_NE(Bar(), nullptr);
  SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, 3, nullptr, 0);
}

TEST_F(WheelTest, WheelElsewhereChangesNothing) {
  Start();
  Notch(WHEEL_DELTA);
  EXPECT_EQ(Playback().get_volume(), simulated_host::InitialVolumeDb);
  EXPECT_EQ(Playback().set_volume_calls(), 0);
  EXPECT_EQ(Bar(), nullptr);
}

TEST_F(WheelTest, BarShowsTheLevelBesideTheMoxelAndFollowsTheHost) {
  Start();
  PointAtMoxel();
  Notch(WHEEL_DELTA);
  const HWND bar = Bar();
  ASSERT_NE(bar, nullptr);
  const RECT rect = WindowRect(bar);
  EXPECT_EQ(rect.left, 14);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right - rect.left, 59);
  EXPECT_EQ(rect.bottom - rect.top, 14);
  const int level = VolumeLevel(Playback().get_volume());
  EXPECT_TRUE(input::PumpUntil([&] { return ScreenShowsFrame(level); }));

  Playback().set_volume(-3.0f);  // the host's own control
  EXPECT_TRUE(input::PumpUntil([] { return ScreenShowsFrame(13); }));
  Playback().set_volume(-90.0f);
  EXPECT_TRUE(input::PumpUntil([] { return ScreenShowsFrame(0); }));
}

// A notch half a second after the first one restarts the bar's second: the bar is still up
// three quarters of a second after that notch, when the first notch's second has run out,
// and goes after. The timers fire in the order they fall due, so this holds however slow the
// machine is.
TEST_F(WheelTest, BarGoesASecondAfterTheLastNotch) {
  Start();
  PointAtMoxel();
  Notch(WHEEL_DELTA);
  ASSERT_TRUE(input::marker_timer(500).PumpUntilFired());
  input::marker_timer firstSecondRanOut(750);
  input::Wheel(WHEEL_DELTA);
  ASSERT_TRUE(firstSecondRanOut.PumpUntilFired());
  EXPECT_NE(Bar(), nullptr);
  EXPECT_TRUE(input::PumpUntil([&] { return Bar() == nullptr; }));

  Notch(WHEEL_DELTA);
  SendMessageW(moxel_, WM_TIMER, 7, 0);  // another timer: nothing happens
  EXPECT_NE(Bar(), nullptr);
}

TEST_F(WheelTest, BarGoesWhenThePointerLeavesOrTheMoxelGoes) {
  Start();
  PointAtMoxel();
  Notch(WHEEL_DELTA);
  ASSERT_NE(Bar(), nullptr);
  input::MoveTo(30, 5);  // onto the bar: that leaves the moxel
  EXPECT_TRUE(input::PumpUntil([&] { return Bar() == nullptr; }));

  PointAtMoxel();
  Notch(WHEEL_DELTA);
  ASSERT_NE(Bar(), nullptr);
  session_->RunQuitServices();
  EXPECT_EQ(Bar(), nullptr);
}

TEST_F(WheelTest, MissingHostServicesEndTheMessageAndNothingElse) {
  Start();
  PointAtMoxel();
  session_->host.api().Remove(play_callback_manager::class_guid);
  Notch(WHEEL_DELTA);  // the volume still changes; the bar cannot listen, so it stays away
  EXPECT_NE(Playback().get_volume(), simulated_host::InitialVolumeDb);
  EXPECT_EQ(Bar(), nullptr);

  session_->host.api().Remove(playback_control::class_guid);
  Notch(WHEEL_DELTA);
  EXPECT_EQ(Bar(), nullptr);
  input::Click(input::Button::Left);  // the moxel still works
  ASSERT_TRUE(input::PumpUntilInputHandled());
  EXPECT_EQ(Executed(), (command_log{"Play or pause"}));
}

// A playback control whose volume operations throw while told to.
class throwing_playback final : public counted_service_t<playback_control> {
 public:
  bool setThrows = false, getThrows = false;
  void set_volume(float db) override {
    if (setThrows) boundary::serve([] { throw std::runtime_error("set volume failed"); });
    volume_ = db;
  }
  float get_volume() override {
    if (getThrows) boundary::serve([] { throw std::runtime_error("get volume failed"); });
    return volume_;
  }

 private:
  float volume_ = -10.0f;
};

TEST_F(WheelTest, PlaybackThatThrowsGetsEveryReferenceBackAndTheWheelWorksAfter) {
  Start();
  PointAtMoxel();
  auto* playback = new throwing_playback;
  service_registry& api = session_->host.api();
  api.Remove(playback_control::class_guid);
  api.Add(playback_control::class_guid, playback);
  playback->setThrows = true;
  Notch(WHEEL_DELTA);
  EXPECT_EQ(playback->reference_count(), 1);  // the host's own
  EXPECT_EQ(Bar(), nullptr);
  playback->setThrows = false;
  playback->getThrows = true;
  Notch(WHEEL_DELTA);
  EXPECT_EQ(playback->reference_count(), 1);
  EXPECT_EQ(Bar(), nullptr);
  playback->getThrows = false;
  Notch(WHEEL_DELTA);
  EXPECT_GT(playback->get_volume(), -10.0f);
  EXPECT_NE(Bar(), nullptr);
}

// A play callback manager whose registration throws: the bar cannot listen, so it stays away.
class throwing_manager final : public counted_service_t<play_callback_manager> {
 public:
  void register_callback(play_callback*, uint32_t, bool) override {
    boundary::serve([] { throw std::runtime_error("register failed"); });
  }
  void unregister_callback(play_callback*) override {}
};

TEST_F(WheelTest, CallbackManagerThatThrowsGetsEveryReferenceBack) {
  Start();
  PointAtMoxel();
  auto* manager = new throwing_manager;
  play_callback_registry& callbacks = session_->host.play_callbacks();
  service_registry& api = session_->host.api();
  callbacks.service_add_ref();  // kept for putting it back
  api.Remove(play_callback_manager::class_guid);
  api.Add(play_callback_manager::class_guid, manager);
  const float before = Playback().get_volume();
  Notch(WHEEL_DELTA);
  EXPECT_NE(Playback().get_volume(), before);
  EXPECT_EQ(Bar(), nullptr);
  EXPECT_EQ(manager->reference_count(), 1);  // the host's own
  api.Remove(play_callback_manager::class_guid);
  api.Add(play_callback_manager::class_guid, &callbacks);
  Notch(WHEEL_DELTA);
  EXPECT_NE(Bar(), nullptr);
  EXPECT_EQ(callbacks.listener_count(), 1u);
}

}  // namespace
