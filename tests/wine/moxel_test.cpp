// The moxel window under real input: geometry, hover, gestures and bindings.
#include "tests/wine/moxel_fixture.h"

#include <stdexcept>

#include "host/boundary/boundary.h"
#include "simulator/stored_config.h"

namespace {

using input::Button;

TEST_F(MoxelTest, StartsAsSmallTopmostToolWindowAtTheCorner) {
  Start();
  const RECT rect = WindowRect(moxel_);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right, 7);
  EXPECT_EQ(rect.bottom, 7);
  const LONG_PTR exStyle = GetWindowLongPtrW(moxel_, GWL_EXSTYLE);
  EXPECT_EQ(exStyle & (WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW),
            WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetWindowLongPtrW(moxel_, GWL_STYLE) & (WS_POPUP | WS_VISIBLE), WS_POPUP | WS_VISIBLE);
  EXPECT_EQ(GetClassLongPtrW(moxel_, GCL_STYLE), CS_HREDRAW | CS_VREDRAW);
}

TEST_F(MoxelTest, HoverGrowsTheMoxelAndLeavingShrinksIt) {
  Start();
  PointAtMoxel();
  EXPECT_EQ(WindowRect(moxel_).right, 14);
  EXPECT_EQ(WindowRect(moxel_).bottom, 14);
  input::MoveTo(10, 10);  // outside the small moxel, inside the grown one
  // The system looks for a leave every hover time: it has looked by the end of two.
  UINT hoverTime = 400;
  SystemParametersInfoW(SPI_GETMOUSEHOVERTIME, 0, &hoverTime, 0);
  ASSERT_TRUE(input::marker_timer(2 * hoverTime).PumpUntilFired());
  EXPECT_EQ(WindowRect(moxel_).right, 14);
  PointAway();
  EXPECT_EQ(WindowRect(moxel_).right, 7);
  EXPECT_EQ(WindowRect(moxel_).bottom, 7);
}

// X button 1 shares bit 0x20 with Alt only by number: in a click's key state it is a button.
TEST_F(MoxelTest, XButton1InTheReleaseKeyStateIsNotAlt) {
  Start(ConfigurationWith({{LeftClick, 0, PlayOrPause}, {LeftClick, ModifierAlt, Next}}));
  PointAtMoxel();
  auto leftClick = [&](WPARAM down, WPARAM up) {
    SendMessageW(moxel_, WM_LBUTTONDOWN, down, 0);
    SendMessageW(moxel_, WM_LBUTTONUP, up, 0);
  };
  leftClick(MK_LBUTTON, MK_XBUTTON1);
  EXPECT_EQ(Executed(), (command_log{"Play or pause"}));
  // The moxel reads Alt's physical state.
  input::KeyDown(VK_MENU);
  ASSERT_TRUE(input::PumpUntil([] { return GetAsyncKeyState(VK_MENU) < 0; }));
  leftClick(MK_LBUTTON, MK_XBUTTON1);
  input::KeyUp(VK_MENU);
  ASSERT_TRUE(input::PumpUntil([] { return GetAsyncKeyState(VK_MENU) >= 0; }));
  EXPECT_EQ(Executed(), (command_log{"Play or pause", "Next"}));
  // Begun while X button 1 was held: two buttons in the set, no click.
  leftClick(MK_LBUTTON | MK_XBUTTON1, MK_XBUTTON1);
  SendMessageW(moxel_, WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON1), 0);
  EXPECT_EQ(Executed().size(), 2u);
}

TEST_F(MoxelTest, SyncPaintPutsTheMoxelBackOnTop) {
  Start();
  const HWND cover = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"STATIC", L"cover", WS_POPUP | WS_VISIBLE, 0, 0,
                                     50, 50, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(input::PumpUntil([&] { return GetTopWindow(nullptr) == cover; }));
  EXPECT_EQ(SendMessageW(moxel_, WM_SYNCPAINT, 0, 0), 0);
  EXPECT_EQ(GetTopWindow(nullptr), moxel_);
  EXPECT_EQ(WindowRect(moxel_).right, 7);
  DestroyWindow(cover);
}

TEST_F(MoxelTest, ClicksAndFlipsRunTheirDefaultBindings) {
  Start();
  PointAtMoxel();
  input::Click(Button::Left);
  input::Click(Button::Right);
  input::Click(Button::Middle);
  input::Click(Button::X1);
  input::Click(Button::X2);
  input::KeyDown(VK_SHIFT);
  input::Click(Button::Left);
  input::Click(Button::Right);
  input::KeyUp(VK_SHIFT);
  ASSERT_TRUE(input::PumpUntilInputHandled());
  EXPECT_EQ(Executed(), (command_log{"Play or pause", "Stop", "Random", "Previous", "Next", "Previous", "Next"}));

  Executed().clear();
  input::Press(Button::Left);
  input::Press(Button::Right);  // right flip
  input::Release(Button::Left);
  input::Press(Button::Left);  // rocking: left flip
  input::Release(Button::Left);
  input::Release(Button::Right);
  ASSERT_TRUE(input::PumpUntilInputHandled());
  EXPECT_EQ(Executed(), (command_log{"Next", "Previous"}));
}

TEST_F(MoxelTest, ModifiersMatchExactlyAndAltIsSensed) {
  Start(ConfigurationWith({{LeftClick, ModifierAlt, Next},
                           {LeftClick, ModifierCtrl | ModifierShift, Previous},
                           {RightClick, 0, PlayOrPause}}));
  PointAtMoxel();
  // Alt is read as the key's physical state when the click's message is handled, so it stays
  // down until then. Wine sets its modifier keys as the X keyboard has them when it handles
  // the pointer's coming onto one of its windows, which may release an Alt sent just before:
  // a click that comes without Alt runs nothing here, and is made again.
  for (int click = 0; click < 5 && Executed().empty(); ++click) {
    ASSERT_TRUE(input::PumpUntil([] {  // pressed, and again where Wine released it
      if (GetAsyncKeyState(VK_MENU) < 0) return true;
      input::KeyDown(VK_MENU);
      return false;
    }));
    input::Click(Button::Left);
    ASSERT_TRUE(input::PumpUntilInputHandled());
    input::KeyUp(VK_MENU);
    ASSERT_TRUE(input::PumpUntilInputHandled());
  }
  EXPECT_EQ(Executed(), (command_log{"Next"}));
  input::KeyDown(VK_CONTROL);
  input::Click(Button::Left);  // Ctrl alone: no binding
  input::KeyDown(VK_SHIFT);
  input::Click(Button::Left);
  input::Click(Button::Right);  // modifiers held: the plain right click does not match
  input::KeyUp(VK_SHIFT);
  input::KeyUp(VK_CONTROL);
  ASSERT_TRUE(input::PumpUntilInputHandled());
  EXPECT_EQ(Executed(), (command_log{"Next", "Previous"}));
}

TEST_F(MoxelTest, ReleasesOutsideTheMoxelEndTheGestureOnlyForLeftAndRight) {
  Start();
  PointAtMoxel();
  input::Press(Button::Right);
  PointAway();
  input::Release(Button::Right);  // seen only as raw input
  PointAtMoxel();
  input::Click(Button::Left);
  ASSERT_TRUE(input::PumpUntilInputHandled());
  EXPECT_EQ(Executed(), (command_log{"Play or pause"}));  // a click, not a flip

  input::Press(Button::Middle);
  PointAway();
  input::Release(Button::Middle);
  PointAtMoxel();
  input::Click(Button::Left);  // the middle button still spoils this gesture
  input::Click(Button::Left);
  ASSERT_TRUE(input::PumpUntilInputHandled());
  EXPECT_EQ(Executed(), (command_log{"Play or pause", "Play or pause"}));
}

TEST_F(MoxelTest, DefaultsAreInstalledOnFirstCreationOnly) {
  // A configuration that never held the flag: its bindings give way to the nine defaults.
  Start(Entry(ListId, ListPayload({{LeftClick, 0, Next}, {RightClick, 0, Next}, {MiddleClick, 0, Next}})) +
        Entry(SensitivityId, Le32(300)));
  Stop();
  std::vector<uint8_t> stored = ReadProfileFile(profile_ + L"\\" + player_session::ConfigurationName);
  EXPECT_EQ(StoredBindings(stored).size(), 9u);
  EXPECT_EQ(StoredValue(stored, GUID{0x46BDBF9D, 0x9A8C, 0x48CB, {0xA5, 0xA1, 0xBC, 0x84, 0x26, 0x5C, 0xC9, 0xCD}}, 0),
            128u);

  // Once the flag is stored, an emptied list stays empty.
  Start(ConfigurationWith({}));
  Stop();
  stored = ReadProfileFile(profile_ + L"\\" + player_session::ConfigurationName);
  EXPECT_TRUE(StoredBindings(stored).empty());
}

TEST_F(MoxelTest, SecondInitKeepsTheMoxelAndASecondQuitDoesNothing) {
  Start();
  session_->RunInitServices();
  EXPECT_EQ(FindWindowW(MoxelClassName, nullptr), moxel_);
  EXPECT_EQ(FindWindowExW(nullptr, moxel_, MoxelClassName, nullptr), nullptr);  // no second moxel
  session_->RunQuitServices();
  EXPECT_FALSE(IsWindow(moxel_));
  session_->RunQuitServices();
  EXPECT_EQ(FindWindowW(MoxelClassName, nullptr), nullptr);
}

// One command whose execution throws while told to.
class throwing_provider final : public counted_service_t<command_provider> {
 public:
  static constexpr GUID Command = {0x7E57BAD, 0, 0, {1}};
  bool throws = true;
  int executed = 0;
  uint32_t get_command_count() override { return 1; }
  GUID* get_command(GUID* result, uint32_t) override { return &(*result = Command); }
  GUID* get_parent(GUID* result) override { return &(*result = GUID{}); }
  uint32_t get_sort_priority() override { return 0; }
  bool get_display(uint32_t, string_base& out, uint32_t&) override {
    out.set_string("Throwing", 8);
    return true;
  }
  void execute(uint32_t, service_base*) override {
    if (throws) boundary::serve([] { throw std::runtime_error("execute failed"); });
    ++executed;
  }
};

TEST_F(MoxelTest, CommandThatThrowsGetsEveryReferenceBackAndTheMoxelWorksAfter) {
  Start(ConfigurationWith({{LeftClick, 0, throwing_provider::Command}, {RightClick, 0, PlayOrPause}}));
  auto* provider = new throwing_provider;
  session_->host.api().Add(command_provider::class_guid, provider);
  PointAtMoxel();
  input::Click(Button::Left);
  ASSERT_TRUE(input::PumpUntilInputHandled());
  EXPECT_EQ(provider->reference_count(), 1);  // the host's own
  input::Click(Button::Right);
  ASSERT_TRUE(input::PumpUntilInputHandled());
  EXPECT_EQ(Executed(), (command_log{"Play or pause"}));
  provider->throws = false;
  input::Click(Button::Left);
  ASSERT_TRUE(input::PumpUntilInputHandled());
  EXPECT_EQ(provider->executed, 1);
  EXPECT_EQ(provider->reference_count(), 1);
}

}  // namespace
