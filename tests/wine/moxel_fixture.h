// A simulated player with the component loaded and its moxel up, driven by real input.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "resources/window_classes.h"
#include "simulator/input.h"
#include "simulator/memory_streams.h"
#include "simulator/player_session.h"
#include "simulator/profile_store.h"
#include "tests/stream_bytes.h"
#include "tests/wine/corner_support.h"
#include "tests/wine/gdi_counter.h"
#include "tests/wine/wine_test_support.h"

constexpr GUID PlayOrPause = {0x90500F09, 0xF16F, 0x415E, {0xA0, 0x47, 0xAC, 0x50, 0x45, 0xC9, 0x5F, 0xFE}};
constexpr GUID Previous = {0x059C4566, 0x4708, 0x4EBF, {0x81, 0x39, 0x6A, 0x8E, 0xA5, 0xA9, 0xDF, 0xC8}};
constexpr GUID Next = {0xE58895A0, 0xA2F0, 0x45B6, {0x87, 0x99, 0x14, 0x40, 0xE4, 0xDB, 0x72, 0x84}};

// A stored configuration whose one-time defaults are done, holding `bindings`.
inline std::vector<uint8_t> ConfigurationWith(const std::vector<MouseActionItem>& bindings) {
  return Entry(FlagId, Le32(1)) + Entry(ListId, ListPayload(bindings));
}

inline RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

class MoxelTest : public ::testing::Test {
 protected:
  void SetUp() override { profile_ = FreshFolder(L"moxel_test_profile"); }
  void TearDown() override { Stop(); }

  // Starts the player with `configuration` stored (none: a first run) and waits for the moxel.
  // The player's main window has the foreground, as it would: Wine sends raw input only
  // while some window has the foreground or the pointer is over a window.
  void Start(const std::vector<uint8_t>& configuration = {}) {
    static const HWND player = CreateWindowExW(0, L"STATIC", L"quorbel", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 600,
                                               300, 200, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(player);
    if (!configuration.empty()) SaveProfileFile(profile_ + L"\\" + player_session::ConfigurationName, configuration);
    session_ = std::make_unique<player_session>(ComponentPath(), profile_);
    instance_ = session_->component.module();
    gdi_counter::Attach(instance_);
    ASSERT_EQ(session_->LoadConfiguration(), "");
    input::MoveTo(600, 500);
    session_->RunInitServices();
    moxel_ = FindWindowW(MoxelClassName, MoxelTitle);
    ASSERT_NE(moxel_, nullptr);
    smallSide_ = WindowRect(moxel_).right - WindowRect(moxel_).left;  // not hovered yet
  }

  // Quits and unloads the component.
  void Stop() {
    if (!session_) return;
    session_->RunQuitServices();
    session_->SaveConfiguration();
    session_.reset();
  }

  // Whether the moxel has the size it started with, or twice that while hovered.
  bool MoxelSideIs(int times) const {
    const RECT rect = WindowRect(moxel_);
    return rect.right - rect.left == times * smallSide_ && rect.bottom - rect.top == times * smallSide_;
  }
  void PointAtMoxel() {
    input::MoveTo(3, 3);
    EXPECT_TRUE(input::PumpUntil([&] { return MoxelSideIs(2); })) << "not hovered";
  }
  // Waits for the leave, which comes up to a hover time after the pointer left.
  void PointAway() {
    input::MoveTo(600, 500);
    EXPECT_TRUE(input::PumpUntil([&] { return MoxelSideIs(1); })) << "no leave";
  }

  // A plain left click on the moxel that runs "Play or pause", then a wheel notch from -6 dB
  // at 3 lines a notch.
  void ClickAndNotch() {
    input::Click(input::Button::Left);
    EXPECT_TRUE(input::PumpUntil([&] { return !Executed().empty(); })) << "no command";
    EXPECT_EQ(Executed(), (command_log{"Play or pause"}));
    Playback().set_volume(-6.0f);
    const int calls = Playback().set_volume_calls();
    input::Wheel(WHEEL_DELTA);
    EXPECT_TRUE(input::PumpUntil([&] { return Playback().set_volume_calls() > calls; })) << "no volume step";
    EXPECT_NEAR(Playback().get_volume(), -4.550f, 0.001f);
  }

  // The moxel's rectangles, a click and a wheel notch in corner `c` of `screen`, and the bar
  // the notch opens.
  void CheckCorner(uint32_t c, const RECT& screen = MainScreen()) {
    SCOPED_TRACE(CornerNames[c]);
    EXPECT_PRED2(SameRect, WindowRect(moxel_), Square(c, 7, screen)) << Text(WindowRect(moxel_));
    const POINT point = InCorner(c, 3, screen);  // on the small moxel
    input::MoveTo(point.x, point.y);
    EXPECT_TRUE(input::PumpUntil([&] { return SameRect(WindowRect(moxel_), Square(c, 14, screen)); }))
        << Text(WindowRect(moxel_));
    ClickAndNotch();
    ASSERT_NE(Bar(), nullptr);
    EXPECT_PRED2(SameRect, WindowRect(Bar()), BarBeside(c, screen)) << Text(WindowRect(Bar()));
  }

  HWND Bar() const { return FindWindowW(VolumeBarClassName, VolumeBarTitle); }
  command_log& Executed() { return session_->host.executed(); }
  simulated_playback& Playback() { return session_->host.playback(); }

  std::wstring profile_;
  std::unique_ptr<player_session> session_;
  HMODULE instance_ = nullptr;
  HWND moxel_ = nullptr;
  LONG smallSide_ = 0;
};
