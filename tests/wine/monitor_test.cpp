// The moxel on desktops of two monitors of different sizes, with either stored screen, and
// when its monitor is unplugged. run_with_monitors.sh runs these tests on a display of their
// own, whose monitors come from the layout file that MONITOR_LAYOUT names.
#include <cstdio>
#include <string>
#include <vector>

#include "tests/wine/corner_support.h"
#include "tests/wine/moxel_fixture.h"

namespace {

enum screen_setting : uint32_t { MainScreenSetting, OuterCornerSetting };

// The file that the display library reads the monitors from, as a Windows path.
std::wstring LayoutFile() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"MONITOR_LAYOUT", path, MAX_PATH);
  return length && length < MAX_PATH ? L"Z:" + std::wstring(path, length) : L"";
}

RECT VirtualScreen() {
  const LONG left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

class MonitorTest : public MoxelTest {
 protected:
  void SetUp() override {
    if (LayoutFile().empty()) GTEST_SKIP() << "no monitor layout: run_with_monitors.sh runs these tests";
    MoxelTest::SetUp();
    SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, 3, nullptr, 0);
  }

  // Plugs in `monitors` (the first is the main one, whose top left is the origin) in place of
  // the monitors there are, and waits until this process sees them.
  void Arrange(const std::vector<RECT>& monitors) {
    RECT desktop = monitors[0];
    for (const RECT& m : monitors) UnionRect(&desktop, &desktop, &m);
    std::string layout;
    for (const RECT& m : monitors) {
      char line[64];
      std::snprintf(line, sizeof line, "%ldx%ld+%ld+%ld\n", m.right - m.left, m.bottom - m.top, m.left - desktop.left,
                    m.top - desktop.top);
      layout += line;
    }
    SaveProfileFile(LayoutFile(), std::vector<uint8_t>(layout.begin(), layout.end()));
    ASSERT_EQ(RefreshDisplays(), 0u);
    ASSERT_TRUE(input::PumpUntil([&] { return SameRect(VirtualScreen(), desktop); })) << Text(VirtualScreen());
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), int(monitors.size()));
  }

  // Runs the program that makes Wine read the monitors again, dispatching the messages it
  // sends to this process's windows meanwhile; answers its exit code.
  DWORD RefreshDisplays() {
    std::wstring command = L"\"" + BinFolder() + L"\\display_refresh.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
      return GetLastError();
    EXPECT_TRUE(input::PumpUntil([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }));
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
  }

  void StartIn(uint32_t c, uint32_t setting) {
    Start(ConfigurationWith({{LeftClick, 0, PlayOrPause}}) + Entry(CornerId, Le32(c)) + Entry(ScreenId, Le32(setting)));
  }

  // Each corner on the main screen and on `outer[c]`, the monitor whose corner `c` stands out
  // farthest from the desktop.
  void CheckEachCorner(const RECT& main, const RECT (&outer)[4]) {
    for (uint32_t c = TopLeft; c <= BottomRight; ++c) {
      for (const uint32_t setting : {MainScreenSetting, OuterCornerSetting}) {
        SCOPED_TRACE(setting == MainScreenSetting ? "main screen" : "outer corner");
        StartIn(c, setting);
        CheckCorner(c, setting == MainScreenSetting ? main : outer[c]);
        Stop();
      }
    }
  }
};

TEST_F(MonitorTest, ScreenLeftOfTheMainOne) {
  const RECT main{0, 0, 1280, 1024}, left{-1024, 256, 0, 1024};
  Arrange({main, left});
  // Leftwards the left screen's corners stand out; rightwards the main one's.
  CheckEachCorner(main, {left, main, left, main});

  // Unplugged under the moxel, the left screen leaves the main one's corner as the outer one.
  StartIn(TopLeft, OuterCornerSetting);
  EXPECT_PRED2(SameRect, WindowRect(moxel_), Square(TopLeft, 7, left)) << Text(WindowRect(moxel_));
  Arrange({main});
  EXPECT_PRED2(SameRect, WindowRect(moxel_), Square(TopLeft, 7, main)) << Text(WindowRect(moxel_));
  CheckCorner(TopLeft, main);
}

TEST_F(MonitorTest, ScreenAboveTheMainOne) {
  // The top right corners of the two lie on one diagonal: the main screen's wins the tie.
  const RECT main{0, 0, 1280, 1024}, above{-768, -768, 512, 0};
  Arrange({main, above});
  CheckEachCorner(main, {above, main, main, main});

  // Unplugged under the moxel, the screen above leaves the main one's corner as the outer one;
  // plugged in again, it takes the moxel back.
  StartIn(TopLeft, OuterCornerSetting);
  EXPECT_PRED2(SameRect, WindowRect(moxel_), Square(TopLeft, 7, above)) << Text(WindowRect(moxel_));
  Arrange({main});
  EXPECT_PRED2(SameRect, WindowRect(moxel_), Square(TopLeft, 7, main)) << Text(WindowRect(moxel_));
  Arrange({main, above});
  EXPECT_PRED2(SameRect, WindowRect(moxel_), Square(TopLeft, 7, above)) << Text(WindowRect(moxel_));
  Stop();

  // Unplugged under the moxel, the main screen leaves the other one as the main screen, whose
  // top left becomes the origin.
  StartIn(BottomRight, MainScreenSetting);
  const RECT remaining{0, 0, 1280, 768};
  Arrange({remaining});
  EXPECT_PRED2(SameRect, WindowRect(moxel_), Square(BottomRight, 7, remaining)) << Text(WindowRect(moxel_));
}

}  // namespace
