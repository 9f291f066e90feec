// The moxel and its volume bar on a display of more than 96 dpi, measured in processes that
// Wine starts at the prefix's density, under real input.
#include <string>

#include "resources/resource.h"
#include "simulator/screen.h"
#include "simulator/stored_config.h"
#include "tests/wine/corner_support.h"
#include "tests/wine/moxel_fixture.h"

namespace {

// The density a child run was started at, set by its parent; absent in other runs.
const wchar_t ChildDpiVariable[] = L"MOXEL_TEST_DPI";

// The pixels of bitmap `id` of `module`, rows from the top.
screen_capture Artwork(HMODULE module, int id) {
  screen_capture art;
  const HBITMAP bitmap = LoadBitmapW(module, MAKEINTRESOURCEW(id));
  BITMAP size{};
  if (!bitmap || !GetObjectW(bitmap, sizeof size, &size)) return art;
  art.width = size.bmWidth;
  art.height = size.bmHeight;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), art.width, -art.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<uint8_t> bgra(size_t(art.width) * art.height * 4);
  const HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, UINT(art.height), bgra.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  DeleteObject(bitmap);
  for (size_t at = 0; at < bgra.size(); at += 4) art.rgb.insert(art.rgb.end(), {bgra[at + 2], bgra[at + 1], bgra[at]});
  return art;
}

// Whether the screen shows rows `top` to `top + rows` of `art` in `area`, each pixel an
// exact `scale` by `scale` square.
::testing::AssertionResult ScreenShows(const RECT& area, const screen_capture& art, int top, int rows, int scale) {
  if (area.right - area.left != art.width * scale || area.bottom - area.top != rows * scale)
    return ::testing::AssertionFailure() << "the area " << Text(area) << " is not the artwork's size";
  const screen_capture shown = CaptureScreen(area);
  for (int y = 0; y < shown.height; ++y)
    for (int x = 0; x < shown.width; ++x)
      if (shown.At(x, y) != art.At(x / scale, top + y / scale))
        return ::testing::AssertionFailure() << "pixel " << x << "," << y << " of " << Text(area);
  return ::testing::AssertionSuccess();
}

// Sets this thread's density awareness, as DPI_AWARENESS_CONTEXT values name it (-1 unaware,
// -3 per monitor); Wine has the function.
void SetThreadAwareness(intptr_t context) {
  const auto set = reinterpret_cast<HANDLE(WINAPI*)(HANDLE)>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
  ASSERT_NE(set, nullptr);
  ASSERT_NE(set(HANDLE(context)), nullptr);
}

// At 144 and 192 dpi every artwork pixel is a 2 by 2 square: the moxel 14 by 14, hovered 28
// by 28, the bar 118 by 28. Exists only in a child process that DpiTest starts at the density
// it names (see the registration below).
class ScaledMoxelTest : public MoxelTest {
 public:
  void TestBody() override;

 protected:
  // Starts the player as a host unaware of the density: the moxel must make itself aware.
  // The test measures and moves the pointer in the screen's own pixels.
  void StartUnaware(const std::vector<uint8_t>& configuration) {
    SetThreadAwareness(-1);
    Start(configuration);
    SetThreadAwareness(-3);
  }

  void SetUp() override {
    wchar_t value[16] = L"";
    GetEnvironmentVariableW(ChildDpiVariable, value, 16);
    ASSERT_EQ(ScreenDpi(), _wtoi(value)) << "the prefix's density did not reach this process";
    MoxelTest::SetUp();
    SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, 3, nullptr, 0);
  }
};

void ScaledMoxelTest::TestBody() {
  for (uint32_t c = TopLeft; c <= BottomRight; ++c) {
    SCOPED_TRACE(CornerNames[c]);
    StartUnaware(ConfigurationWith({{LeftClick, 0, PlayOrPause}}) + Entry(CornerId, Le32(c)));
    EXPECT_PRED2(SameRect, WindowRect(moxel_), Square(c, 14)) << Text(WindowRect(moxel_));
    const screen_capture normal = Artwork(instance_, IDB_MOXEL_NORMAL);
    EXPECT_TRUE(input::PumpUntil([&] { return ScreenShows(Square(c, 14), normal, 0, 7, 2); }));

    // 10 pixels in: beside the moxel of 96 dpi, on the scaled one.
    const POINT point = InCorner(c, 10);
    input::MoveTo(point.x, point.y);
    EXPECT_TRUE(input::PumpUntil([&] { return SameRect(WindowRect(moxel_), Square(c, 28)); }))
        << Text(WindowRect(moxel_));
    const screen_capture hover = Artwork(instance_, IDB_MOXEL_HOVER);
    EXPECT_TRUE(input::PumpUntil([&] { return ScreenShows(Square(c, 28), hover, 0, 14, 2); }));
    ClickAndNotch();
    ASSERT_NE(Bar(), nullptr);
    const SIZE screen = ScreenSize();
    const LONG left = IsRight(c) ? screen.cx - 28 - 118 : 28, top = IsBottom(c) ? screen.cy - 28 : 0;
    const RECT bar{left, top, left + 118, top + 28};
    EXPECT_PRED2(SameRect, WindowRect(Bar()), bar) << Text(WindowRect(Bar()));
    // -4.55 dB is frame 11 of the strip's 20 frames of 14 rows.
    const screen_capture strip = Artwork(instance_, IDB_VOLUME_STRIP);
    EXPECT_TRUE(input::PumpUntil([&] { return ScreenShows(bar, strip, 11 * 14, 14, 2); }));
    Stop();
  }
}

// Only a child run has the test, so a run at the prefix's own density neither runs nor skips it.
const bool g_scaledMoxelTestRegistered = [] {
  if (!GetEnvironmentVariableW(ChildDpiVariable, nullptr, 0)) return false;
  ::testing::RegisterTest("ScaledMoxelTest", "EachCornerIsTwiceTheSizeWithCrispPixels", nullptr, nullptr, __FILE__,
                          __LINE__, [] { return new ScaledMoxelTest; });
  return true;
}();

TEST(DpiTest, MoxelAndBarScaleAt144And192Dpi) {
  prefix_dpi prefix;
  for (const DWORD dpi : {144, 192}) {
    SCOPED_TRACE(dpi);
    ASSERT_TRUE(prefix.Set(dpi));
    SetEnvironmentVariableW(ChildDpiVariable, std::to_wstring(dpi).c_str());
    EXPECT_EQ(RunChild(L"window_tests.exe", L"--gtest_filter=ScaledMoxelTest.*"), 0u);
  }
  SetEnvironmentVariableW(ChildDpiVariable, nullptr);
}

// A change of the monitor's density resizes the moxel in its corner and takes the bar away;
// the rectangle the system suggests does not move it.
TEST_F(MoxelTest, MoxelFollowsADensityChange) {
  SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, 3, nullptr, 0);
  Start(ConfigurationWith({}) + Entry(CornerId, Le32(BottomRight)));
  const POINT point = InCorner(BottomRight, 3);
  input::MoveTo(point.x, point.y);
  ASSERT_TRUE(input::PumpUntil([&] { return MoxelSideIs(2); })) << Text(WindowRect(moxel_));
  input::Wheel(WHEEL_DELTA);
  ASSERT_TRUE(input::PumpUntil([&] { return Bar() != nullptr; }));
  RECT suggested{100, 100, 300, 300};
  SendMessageW(moxel_, WM_DPICHANGED, MAKEWPARAM(192, 192), LPARAM(&suggested));
  EXPECT_EQ(Bar(), nullptr);
  EXPECT_PRED2(SameRect, WindowRect(moxel_), Square(BottomRight, 28)) << Text(WindowRect(moxel_));
  SendMessageW(moxel_, WM_DPICHANGED, MAKEWPARAM(96, 96), LPARAM(&suggested));
  EXPECT_PRED2(SameRect, WindowRect(moxel_), Square(BottomRight, 14)) << Text(WindowRect(moxel_));
  PointAway();
  EXPECT_PRED2(SameRect, WindowRect(moxel_), Square(BottomRight, 7)) << Text(WindowRect(moxel_));
}

}  // namespace
