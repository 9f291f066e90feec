// The messages the moxel, the bar and the user's program receive, against expected
// sequences: neither window is ever activated or focused, not even for a moment, and the
// user's program never loses activation or focus, nor the keys typed.
#include <memory>

#include "simulator/other_program.h"
#include "tests/wine/message_log.h"
#include "tests/wine/moxel_fixture.h"

namespace {

using input::Button;
using enum msg_window;

// Activation, focus, showing and placing, and the input that drives them; moves, paints
// and raw input are left out, as their numbers depend on timing.
const std::vector<UINT> Watched = {WM_CREATE,    WM_DESTROY,       WM_SHOWWINDOW,    WM_WINDOWPOSCHANGING,
                                   WM_ACTIVATE,  WM_ACTIVATEAPP,   WM_NCACTIVATE,    WM_SETFOCUS,
                                   WM_KILLFOCUS, WM_MOUSEACTIVATE, WM_LBUTTONDOWN,   WM_LBUTTONUP,
                                   WM_TIMER,     WM_MOUSELEAVE,    WM_DISPLAYCHANGE, WM_SETTINGCHANGE};

class MessageSequenceTest : public MoxelTest {
 protected:
  void SetUp() override {
    MoxelTest::SetUp();
    SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, 3, nullptr, 0);
  }
  void TearDown() override {
    log_.reset();
    MoxelTest::TearDown();
    if (program_) DestroyWindow(program_);
  }

  // The user's program in the foreground, its edit box focused, and the log recording.
  void StartTyping(const std::vector<uint8_t>& configuration) {
    Start(configuration);
    program_ = CreateWindowExW(0, L"STATIC", L"typing", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 300, 120, nullptr,
                               nullptr, nullptr, nullptr);
    edit_ =
        CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24, program_, nullptr, nullptr, nullptr);
    SetForegroundWindow(program_);
    SetFocus(edit_);
    ASSERT_TRUE(input::PumpUntil([&] { return GetForegroundWindow() == program_ && GetFocus() == edit_; }));
    log_ = std::make_unique<message_log>(Watched, program_);
  }

  std::vector<msg_entry> Seen() { return log_->Take(); }

  void ExpectTypedKeyReachesTheProgram() {
    const int typed = GetWindowTextLengthW(edit_);
    input::KeyDown('A');
    input::KeyUp('A');
    EXPECT_TRUE(input::PumpUntil([&] { return GetWindowTextLengthW(edit_) == typed + 1; }));
  }

  // Whether the system tracks the moxel's leave for this process.
  bool LeaveTracked() const {
    TRACKMOUSEEVENT tracking{sizeof tracking, TME_QUERY, nullptr, 0};
    return TrackMouseEvent(&tracking) && (tracking.dwFlags & TME_LEAVE) && tracking.hwndTrack == moxel_;
  }

  HWND program_ = nullptr;
  HWND edit_ = nullptr;
  std::unique_ptr<message_log> log_;
};

// The moxel's own placing, sizing and showing never ask for activation.
const std::vector<msg_entry> Placed = {{moxel, WM_WINDOWPOSCHANGING, sent | noactivate}};

// The question a press of `button` (a button-down message) over the moxel asks it.
constexpr msg_entry AskedToActivateBy(UINT button) {
  return {moxel, WM_MOUSEACTIVATE, sent | optional | lparam, 0, MAKELPARAM(HTCLIENT, button)};
}
const std::vector<msg_entry> Clicked = {AskedToActivateBy(WM_LBUTTONDOWN),
                                        {moxel, WM_LBUTTONDOWN, posted | wparam, MK_LBUTTON},
                                        {moxel, WM_LBUTTONUP, posted | wparam, 0}};
// The other buttons' clicks, then a right flip and a left one; only the left button's own
// messages are watched.
const std::vector<msg_entry> OtherClicksAndFlips = {AskedToActivateBy(WM_RBUTTONDOWN),
                                                    AskedToActivateBy(WM_MBUTTONDOWN),
                                                    AskedToActivateBy(WM_XBUTTONDOWN),
                                                    AskedToActivateBy(WM_XBUTTONDOWN),
                                                    AskedToActivateBy(WM_LBUTTONDOWN),
                                                    {moxel, WM_LBUTTONDOWN, posted | wparam, MK_LBUTTON},
                                                    AskedToActivateBy(WM_RBUTTONDOWN),
                                                    {moxel, WM_LBUTTONUP, posted | wparam, MK_RBUTTON},
                                                    AskedToActivateBy(WM_LBUTTONDOWN),
                                                    {moxel, WM_LBUTTONDOWN, posted | wparam, MK_LBUTTON | MK_RBUTTON},
                                                    {moxel, WM_LBUTTONUP, posted | wparam, MK_RBUTTON}};
const std::vector<msg_entry> BarShown = {{bar, WM_CREATE, sent},
                                         {bar, WM_SHOWWINDOW, sent | nested | wparam | lparam, TRUE, 0},
                                         {bar, WM_WINDOWPOSCHANGING, sent | nested | noactivate},
                                         {bar, WM_WINDOWPOSCHANGING, sent | nested | noactivate}};
// The bar's timer has the id 0 and no procedure of its own.
const std::vector<msg_entry> BarHidden = {{moxel, WM_TIMER, posted | wparam | lparam, 0, 0},
                                          {bar, WM_SHOWWINDOW, sent | optional | wparam | lparam, FALSE, 0},
                                          {bar, WM_WINDOWPOSCHANGING, sent | noactivate | optional},
                                          {bar, WM_DESTROY, sent}};
// Back on top, still without activation.
const std::vector<msg_entry> SyncPainted = {{moxel, WM_WINDOWPOSCHANGING, sent | nested | noactivate}};
// The timer goes on firing each second with no bar, as often as the wait lasts.
constexpr msg_entry TimerGoesOn = {moxel, WM_TIMER, posted | repeated | wparam | lparam, 0, 0};
const std::vector<msg_entry> Left = {TimerGoesOn,
                                     {moxel, WM_MOUSELEAVE, posted | wparam | lparam, 0, 0},
                                     {moxel, WM_WINDOWPOSCHANGING, sent | noactivate},
                                     TimerGoesOn};

TEST_F(MessageSequenceTest, HoverClickWheelAndLeaveInEachCornerActivateNothing) {
  for (uint32_t corner = 0; corner < 4; ++corner) {
    SCOPED_TRACE(corner);
    StartTyping(ConfigurationWith({{LeftClick, 0, PlayOrPause}}) + Entry(CornerId, Le32(corner)));
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    input::MoveTo(corner % 2 ? width - 4 : 3, corner >= 2 ? height - 4 : 3);
    EXPECT_TRUE(input::PumpUntil([&] { return MoxelSideIs(2); })) << "not hovered";
    EXPECT_TRUE(MatchesSequence(Seen(), Placed)) << "hover";
    input::Click(Button::Left);
    ASSERT_TRUE(input::PumpUntilInputHandled());
    EXPECT_TRUE(MatchesSequence(Seen(), Clicked)) << "click";
    for (Button button : {Button::Right, Button::Middle, Button::X1, Button::X2}) input::Click(button);
    input::Press(Button::Left);
    input::Press(Button::Right);
    input::Release(Button::Left);
    input::Press(Button::Left);
    input::Release(Button::Left);
    input::Release(Button::Right);
    ASSERT_TRUE(input::PumpUntilInputHandled());
    EXPECT_TRUE(MatchesSequence(Seen(), OtherClicksAndFlips)) << "other clicks and flips";
    input::Wheel(WHEEL_DELTA);
    ASSERT_TRUE(input::PumpUntilInputHandled());
    EXPECT_TRUE(MatchesSequence(Seen(), BarShown)) << "wheel";
    input::Wheel(-WHEEL_DELTA);
    ASSERT_TRUE(input::PumpUntilInputHandled());
    EXPECT_TRUE(MatchesSequence(Seen(), {})) << "wheel again";
    EXPECT_TRUE(input::PumpUntil([&] { return Bar() == nullptr; }));
    EXPECT_TRUE(MatchesSequence(Seen(), BarHidden)) << "bar's time out";
    SendMessageW(moxel_, WM_SYNCPAINT, 0, 0);
    EXPECT_TRUE(MatchesSequence(Seen(), SyncPainted)) << "sync paint";
    PointAway();
    EXPECT_TRUE(MatchesSequence(Seen(), Left)) << "leave";
    EXPECT_EQ(GetForegroundWindow(), program_);
    EXPECT_EQ(GetActiveWindow(), program_);
    EXPECT_EQ(GetFocus(), edit_);
    ExpectTypedKeyReachesTheProgram();
    log_.reset();
    Stop();
    DestroyWindow(program_);
    program_ = nullptr;
  }
}

TEST_F(MessageSequenceTest, CreationAndDestructionActivateNothing) {
  StartTyping({});
  session_->RunQuitServices();
  EXPECT_TRUE(MatchesSequence(Seen(), {{moxel, WM_SHOWWINDOW, sent | optional | wparam | lparam, FALSE, 0},
                                       {moxel, WM_WINDOWPOSCHANGING, sent | noactivate | optional},
                                       {moxel, WM_DESTROY, sent}}))
      << "quit";
  session_->RunInitServices();
  // Shown without activation, then sized into its corner, all inside its creation.
  EXPECT_TRUE(MatchesSequence(Seen(), {{moxel, WM_CREATE, sent},
                                       {moxel, WM_SHOWWINDOW, sent | nested | wparam | lparam, TRUE, 0},
                                       {moxel, WM_WINDOWPOSCHANGING, sent | nested | noactivate},
                                       {moxel, WM_WINDOWPOSCHANGING, sent | nested | noactivate}}))
      << "init";
  EXPECT_EQ(GetFocus(), edit_);
  ExpectTypedKeyReachesTheProgram();
}

TEST_F(MessageSequenceTest, DisplayAndWorkAreaChangesPlaceTheMoxelWithoutActivatingIt) {
  StartTyping(ConfigurationWith({}) + Entry(CornerId, Le32(3)));
  moxel_ = FindWindowW(MoxelClassName, MoxelTitle);
  SetWindowPos(moxel_, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Seen();
  const LPARAM screen = MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  SendMessageW(moxel_, WM_DISPLAYCHANGE, 24, screen);
  EXPECT_TRUE(MatchesSequence(Seen(), {{moxel, WM_DISPLAYCHANGE, sent | wparam | lparam, 24, screen},
                                       {moxel, WM_WINDOWPOSCHANGING, sent | nested | noactivate}}));
  SetWindowPos(moxel_, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Seen();
  SendMessageW(moxel_, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
  EXPECT_TRUE(MatchesSequence(Seen(), {{moxel, WM_SETTINGCHANGE, sent | wparam | lparam, SPI_SETWORKAREA, 0},
                                       {moxel, WM_WINDOWPOSCHANGING, sent | nested | noactivate}}));
  EXPECT_EQ(GetFocus(), edit_);
}

// The covering window only claims the foreground through the event the moxel follows, so that
// the program keeps it and any activation that hiding or showing took would show.
TEST_F(MessageSequenceTest, StandingAsideForAFullScreenWindowAndComingBackActivateNothing) {
  StartTyping(ConfigurationWith({}) + Entry(FullscreenId, Le32(1)));
  other_program covering({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  PointAtMoxel();
  input::Wheel(WHEEL_DELTA);
  ASSERT_TRUE(input::PumpUntil([&] { return Bar() != nullptr; }));
  Seen();
  covering.Raise(EVENT_SYSTEM_FOREGROUND);
  EXPECT_TRUE(input::PumpUntil([&] { return !IsWindowVisible(moxel_); }));
  EXPECT_TRUE(MatchesSequence(Seen(), {{moxel, WM_WINDOWPOSCHANGING, sent | noactivate},
                                       {moxel, WM_WINDOWPOSCHANGING, sent | noactivate},
                                       {bar, WM_SHOWWINDOW, sent | optional | wparam | lparam, FALSE, 0},
                                       {bar, WM_WINDOWPOSCHANGING, sent | noactivate | optional},
                                       {bar, WM_DESTROY, sent},
                                       TimerGoesOn}))
      << "aside, unhovered, without the bar";
  EXPECT_EQ(Bar(), nullptr);
  // No leave can come, and one that comes all the same leaves the hidden moxel where it is.
  EXPECT_FALSE(LeaveTracked());
  PostMessageW(moxel_, WM_MOUSELEAVE, 0, 0);
  const auto leaveCame = [&] {
    for (const msg_entry& entry : log_->Recorded())
      if (entry.message == WM_MOUSELEAVE) return true;
    return false;
  };
  EXPECT_TRUE(input::PumpUntil(leaveCame));
  EXPECT_TRUE(MatchesSequence(Seen(), {TimerGoesOn, {moxel, WM_MOUSELEAVE, posted}, TimerGoesOn})) << "a late leave";
  PointAway();
  Seen();
  NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, program_, OBJID_WINDOW, CHILDID_SELF);
  EXPECT_TRUE(input::PumpUntil([&] { return IsWindowVisible(moxel_); }));
  EXPECT_TRUE(MatchesSequence(Seen(), {Placed[0], TimerGoesOn})) << "back";
  EXPECT_TRUE(IsWindowVisible(moxel_));
  EXPECT_EQ(GetForegroundWindow(), program_);
  EXPECT_EQ(GetFocus(), edit_);
  ExpectTypedKeyReachesTheProgram();
}

// The log itself: a stray focus fails the comparison, and so do a missing entry and another
// parameter.
TEST_F(MessageSequenceTest, StrayFocusOrActivationFailsTheComparison) {
  StartTyping({});
  SetFocus(moxel_);  // what the moxel must never do
  SetForegroundWindow(program_);
  SetFocus(edit_);
  const std::vector<msg_entry> seen = Seen();
  EXPECT_FALSE(MatchesSequence(seen, {}));
  bool askedToFocus = false;
  for (const msg_entry& entry : seen) askedToFocus |= entry.window == moxel && entry.message == AskedToFocus;
  EXPECT_TRUE(askedToFocus);
  EXPECT_FALSE(MatchesSequence({}, {{moxel, WM_TIMER, posted}}));
  EXPECT_TRUE(MatchesSequence({}, {{moxel, WM_TIMER, posted | optional}}));
  EXPECT_FALSE(MatchesSequence({{moxel, WM_TIMER, posted, 1, 0}}, {{moxel, WM_TIMER, posted | wparam, 0, 0}}));
  EXPECT_FALSE(MatchesSequence({{moxel, WM_WINDOWPOSCHANGING, sent}}, Placed));  // activation allowed
  EXPECT_TRUE(MatchesSequence({{moxel, WM_TIMER, posted}, {moxel, WM_TIMER, posted}}, {TimerGoesOn}));
  EXPECT_FALSE(MatchesSequence({{moxel, WM_TIMER, posted}, {moxel, WM_MOUSELEAVE, posted}}, {TimerGoesOn}));
}

}  // namespace
