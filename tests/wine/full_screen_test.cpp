// With the option on, the moxel stands aside while another program's window covers its whole
// screen from the front; with it off, nothing changes. Watches at once each follow the window
// in front. The covering program raises the system's events itself, as Wine does not.
#include "moxel/full_screen_watch.h"
#include "simulator/other_program.h"
#include "tests/wine/moxel_fixture.h"

namespace {

class FullScreenTest : public MoxelTest {
 protected:
  void StartWithOption(uint32_t hide) {
    Start(ConfigurationWith({{LeftClick, 0, PlayOrPause}}) + Entry(FullscreenId, Le32(hide)));
    screen_ = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  // Whether the moxel is shown, or hidden, once the events raised so far have come. Each is
  // queued for this thread before the call that raised it returns: the first dispatch
  // delivers it, also where the moxel must stay as it was.
  bool ShownAfterEvents() {
    return input::PumpUntil([&] { return IsWindowVisible(moxel_) != FALSE; });
  }
  bool HiddenAfterEvents() {
    return input::PumpUntil([&] { return IsWindowVisible(moxel_) == FALSE; });
  }
  // A window of the player's own thread takes the foreground, as after another program went.
  void PlayerInFront() {
    const HWND player = FindWindowW(L"STATIC", L"quorbel");
    SetForegroundWindow(player);
    NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, player, OBJID_WINDOW, CHILDID_SELF);
  }

  RECT screen_{};
};

TEST_F(FullScreenTest, MoxelStandsAsideWhileAWindowInFrontCoversItsScreen) {
  StartWithOption(1);
  {
    other_program covering(screen_);
    EXPECT_TRUE(ShownAfterEvents()) << "covering, but not in front";
    covering.TakeForeground();
    EXPECT_TRUE(HiddenAfterEvents()) << "in front";
    EXPECT_EQ(Bar(), nullptr);
    covering.Place({0, 0, screen_.right, screen_.bottom - 1});
    EXPECT_TRUE(ShownAfterEvents()) << "a row short";
    covering.Place(screen_);
    EXPECT_TRUE(HiddenAfterEvents()) << "full again";
    ShowWindow(covering.window(), SW_MINIMIZE);
    covering.Raise(EVENT_SYSTEM_MINIMIZESTART);
    EXPECT_TRUE(ShownAfterEvents()) << "minimised";
    ShowWindow(covering.window(), SW_RESTORE);
    covering.Raise(EVENT_SYSTEM_MINIMIZEEND);
    EXPECT_TRUE(HiddenAfterEvents()) << "restored";
    // A change of display measures again, without any event of the window.
    SetWindowPos(covering.window(), nullptr, 10, 10, 200, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(moxel_, WM_DISPLAYCHANGE, 32, MAKELPARAM(screen_.right, screen_.bottom));
    EXPECT_TRUE(ShownAfterEvents()) << "display change";
    covering.Place(screen_);
    EXPECT_TRUE(HiddenAfterEvents()) << "full once more";
    PlayerInFront();
    EXPECT_TRUE(ShownAfterEvents()) << "another window in front";
    covering.TakeForeground();
    EXPECT_TRUE(HiddenAfterEvents()) << "in front again";
    NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, GetDesktopWindow(), OBJID_WINDOW, CHILDID_SELF);
    EXPECT_TRUE(ShownAfterEvents()) << "the desktop in front";
    covering.TakeForeground();
    EXPECT_TRUE(HiddenAfterEvents()) << "in front once more";
  }
  EXPECT_TRUE(ShownAfterEvents()) << "gone";
  PlayerInFront();
  EXPECT_TRUE(ShownAfterEvents());
  EXPECT_TRUE(GetWindowLongW(moxel_, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(FullScreenTest, WithTheOptionOffACoveringWindowChangesNothing) {
  StartWithOption(0);
  other_program covering(screen_);
  covering.TakeForeground();
  covering.Place(screen_);
  EXPECT_TRUE(ShownAfterEvents());
  PointAtMoxel();
  ClickAndNotch();
}

// What a watch last reported.
struct cover_record final : screen_cover_listener {
  void OnScreenCovered(bool now) override { covered = now; }
  bool covered = false;
};

TEST(FullScreenWatchTest, TwoWatchesAtOnceBothFollowTheWindowInFront) {
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  cover_record first, second;
  full_screen_watch firstWatch(first), secondWatch(second);
  firstWatch.Follow({screen.left, screen.top, screen.right, screen.bottom});
  secondWatch.Follow({screen.left, screen.top, screen.right, screen.bottom});
  const auto both = [&](bool covered) { return first.covered == covered && second.covered == covered; };
  {
    other_program covering(screen);
    // These watches are the test program's, and take its windows for their own moxel's: the
    // covering window passes for another module's.
    SetWindowLongPtrW(covering.window(), GWLP_HINSTANCE, LONG_PTR(GetModuleHandleW(L"user32.dll")));
    covering.TakeForeground();
    EXPECT_TRUE(input::PumpUntil([&] { return both(true); })) << "in front";
  }
  // Waiting for the window's last event also keeps it from coming after the watches.
  EXPECT_TRUE(input::PumpUntil([&] { return both(false); })) << "gone";
}

}  // namespace
