// The moxel in each corner of the primary screen, at two display sizes, under real input.
#include <cstdio>

#include "simulator/stored_config.h"
#include "tests/wine/corner_support.h"
#include "tests/wine/moxel_fixture.h"

namespace {

// Whether the desktop window has taken the screen's size, as it does once a change of the
// display has gone round.
bool DesktopFollowedTheDisplay() { return SameRect(WindowRect(GetDesktopWindow()), MainScreen()); }

// Asks for a display of `width` by `height` and waits until the desktop follows; false when
// the display cannot take it.
bool ChangeDisplayTo(int width, int height) {
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  mode.dmPelsWidth = DWORD(width);
  mode.dmPelsHeight = DWORD(height);
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  const bool changed =
      ChangeDisplaySettingsExW(nullptr, &mode, nullptr, CDS_FULLSCREEN, nullptr) == DISP_CHANGE_SUCCESSFUL &&
      GetSystemMetrics(SM_CXSCREEN) == width && GetSystemMetrics(SM_CYSCREEN) == height;
  EXPECT_TRUE(input::PumpUntil(DesktopFollowedTheDisplay)) << Text(WindowRect(GetDesktopWindow()));
  return changed;
}

class CornerTest : public MoxelTest {
 protected:
  void SetUp() override {
    MoxelTest::SetUp();
    SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, 3, nullptr, 0);
  }
  void TearDown() override {
    MoxelTest::TearDown();
    ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr);  // back to the stored mode
    EXPECT_TRUE(input::PumpUntil(DesktopFollowedTheDisplay)) << Text(WindowRect(GetDesktopWindow()));
  }

  // Starts with the moxel stored in `c` and a plain left click bound.
  void StartIn(uint32_t c) { Start(ConfigurationWith({{LeftClick, 0, PlayOrPause}}) + Entry(CornerId, Le32(c))); }

  // The corner's entry of the stored configuration.
  std::vector<uint8_t> StoredCornerEntry() {
    const std::vector<uint8_t> stored = ReadProfileFile(profile_ + L"\\" + player_session::ConfigurationName);
    for (size_t at = 0; at + 24 <= stored.size(); ++at)
      if (std::vector<uint8_t>(stored.begin() + at, stored.begin() + at + 16) == CornerId)
        return std::vector<uint8_t>(stored.begin() + at, stored.begin() + at + 24);
    return {};
  }
};

TEST_F(CornerTest, EachCornerAtTwoDisplaySizes) {
  for (const SIZE size : {SIZE{1024, 768}, SIZE{800, 600}}) {
    if (!ChangeDisplayTo(size.cx, size.cy))
      std::printf("the display cannot be %ldx%ld here: the corners are tried at %ldx%ld\n", size.cx, size.cy,
                  ScreenSize().cx, ScreenSize().cy);
    for (uint32_t c = TopLeft; c <= BottomRight; ++c) {
      StartIn(c);
      CheckCorner(c);
      Stop();
      // The stored entry: the corner's GUID, 4 bytes of payload, the corner.
      EXPECT_EQ(StoredCornerEntry(), Hex("72 62 25 12 78 37 9B 4E 83 BE D0 51 47 04 7E EC 04 00 00 00") + Le32(c));
    }
  }
}

TEST_F(CornerTest, UnknownCornerShowsTheMoxelTopLeftAndIsStoredBack) {
  Start(ConfigurationWith({}) + Entry(CornerId, Le32(4)));
  EXPECT_PRED2(SameRect, WindowRect(moxel_), Square(TopLeft, 7));
  Stop();
  EXPECT_EQ(StoredCornerEntry(), CornerId + Le32(4) + Le32(4));
}

// The screen's edges, not the work area's: the moxel stays above the taskbar, where the
// pointer stops at the border.
TEST_F(CornerTest, MoxelKeepsToItsCornerWhenTheDisplayOrTheWorkAreaChanges) {
  const bool resizable = ChangeDisplayTo(1024, 768);
  StartIn(BottomRight);
  if (resizable && ChangeDisplayTo(800, 600)) {
    EXPECT_TRUE(input::PumpUntil([&] {
      return SameRect(WindowRect(moxel_), RECT{793, 593, 800, 600});
    })) << Text(WindowRect(moxel_));
  } else {
    std::printf("the display cannot be resized here: the change is announced to the moxel instead\n");
    SetWindowPos(moxel_, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(moxel_, WM_DISPLAYCHANGE, 24, MAKELPARAM(ScreenSize().cx, ScreenSize().cy));
    EXPECT_PRED2(SameRect, WindowRect(moxel_), Square(BottomRight, 7)) << Text(WindowRect(moxel_));
  }
  CheckCorner(BottomRight);

  // A work area change takes the bar that is up away; the moxel stays in the screen's corner.
  RECT workArea{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
  RECT smaller = workArea;
  smaller.bottom -= 40;
  SystemParametersInfoW(SPI_SETWORKAREA, 0, &smaller, SPIF_SENDCHANGE);
  SendMessageW(moxel_, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
  EXPECT_EQ(Bar(), nullptr);
  EXPECT_PRED2(SameRect, WindowRect(moxel_), Square(BottomRight, 14)) << Text(WindowRect(moxel_));
  PointAway();
  SetWindowPos(moxel_, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(moxel_, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
  EXPECT_PRED2(SameRect, WindowRect(moxel_), Square(BottomRight, 7)) << Text(WindowRect(moxel_));
  SystemParametersInfoW(SPI_SETWORKAREA, 0, &workArea, SPIF_SENDCHANGE);

  // Other settings leave the moxel where it is.
  SetWindowPos(moxel_, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(moxel_, WM_SETTINGCHANGE, SPI_SETWHEELSCROLLLINES, 0);
  EXPECT_EQ(WindowRect(moxel_).left, 100);
}

}  // namespace
