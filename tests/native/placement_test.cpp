#include "placement/placement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

void PrintTo(const pixel_rect& rect, std::ostream* out) {
  *out << "{" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << "}";
}

namespace {

constexpr pixel_rect Screen1024{0, 0, 1024, 768};
constexpr pixel_rect Screen800{0, 0, 800, 600};
constexpr ScreenCorner Corners[4] = {ScreenCorner::TopLeft, ScreenCorner::TopRight, ScreenCorner::BottomLeft,
                                     ScreenCorner::BottomRight};

::testing::AssertionResult Inside(const pixel_rect& inner, const pixel_rect& outer) {
  if (inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right && inner.bottom <= outer.bottom)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << inner.left << "," << inner.top << "," << inner.right << "," << inner.bottom;
}

TEST(Corner, StoredValuesOutsideTheFourCornersAreTopLeft) {
  EXPECT_EQ(CornerFromStored(0), ScreenCorner::TopLeft);
  EXPECT_EQ(CornerFromStored(1), ScreenCorner::TopRight);
  EXPECT_EQ(CornerFromStored(2), ScreenCorner::BottomLeft);
  EXPECT_EQ(CornerFromStored(3), ScreenCorner::BottomRight);
  for (uint32_t stored : {4u, 5u, 0x80000000u, 0xFFFFFFFFu}) EXPECT_EQ(CornerFromStored(stored), ScreenCorner::TopLeft);
}

TEST(Corner, MoxelIsFlushWithBothEdgesOfItsCorner) {
  const pixel_rect small1024[4] = {{0, 0, 7, 7}, {1017, 0, 1024, 7}, {0, 761, 7, 768}, {1017, 761, 1024, 768}};
  const pixel_rect hovered800[4] = {{0, 0, 14, 14}, {786, 0, 800, 14}, {0, 586, 14, 600}, {786, 586, 800, 600}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(RectInCorner(Screen1024, Corners[i], 7, 7), small1024[i]) << i;
    EXPECT_EQ(RectInCorner(Screen800, Corners[i], 14, 14), hovered800[i]) << i;
  }
  // An area that does not start at the origin.
  EXPECT_EQ(RectInCorner({-800, 100, 0, 700}, ScreenCorner::BottomLeft, 7, 7), (pixel_rect{-800, 693, -793, 700}));
}

TEST(Corner, BarOpensOnTheInnerSideLevelWithTheScreensBorder) {
  const pixel_rect bars1024[4] = {{14, 0, 73, 14}, {951, 0, 1010, 14}, {14, 754, 73, 768}, {951, 754, 1010, 768}};
  const pixel_rect bars800[4] = {{14, 0, 73, 14}, {727, 0, 786, 14}, {14, 586, 73, 600}, {727, 586, 786, 600}};
  for (int i = 0; i < 4; ++i) {
    const pixel_rect moxel1024 = RectInCorner(Screen1024, Corners[i], 14, 14);
    EXPECT_EQ(RectBeside({moxel1024, Screen1024, Corners[i]}, 59, 14), bars1024[i]) << i;
    const pixel_rect moxel800 = RectInCorner(Screen800, Corners[i], 14, 14);
    EXPECT_EQ(RectBeside({moxel800, Screen800, Corners[i]}, 59, 14), bars800[i]) << i;
    // A bar taller than the moxel still keeps to the screen's border row.
    const pixel_rect moxel = RectInCorner(Screen800, Corners[i], 7, 7);
    const pixel_rect bar = RectBeside({moxel, Screen800, Corners[i]}, 59, 14);
    EXPECT_TRUE(Inside(bar, Screen800)) << i;
    EXPECT_TRUE(bar.left == moxel.right || bar.right == moxel.left) << i;
  }
}

TEST(Corner, BarThatWouldStickOutIsMovedOntoTheScreen) {
  // A screen narrower than moxel and bar together: the bar covers part of the moxel instead.
  const pixel_rect narrow{0, 0, 60, 40};
  for (ScreenCorner corner : Corners) {
    const pixel_rect bar = RectBeside({RectInCorner(narrow, corner, 14, 14), narrow, corner}, 59, 14);
    EXPECT_TRUE(Inside(bar, narrow)) << int(corner);
    EXPECT_EQ(bar.right - bar.left, 59);
  }
  // A moxel left somewhere else by a display change: the bar still ends up on the screen.
  EXPECT_EQ(RectBeside({{1010, 754, 1024, 768}, Screen800, ScreenCorner::BottomRight}, 59, 14),
            (pixel_rect{741, 586, 800, 600}));
  // A screen smaller than the bar: its top-left corner is on the screen.
  EXPECT_EQ(RectBeside({{0, 0, 14, 14}, {0, 0, 30, 10}, ScreenCorner::TopRight}, 59, 14), (pixel_rect{0, 0, 59, 14}));
}

// Where the moxel stands and its bar opens, corner by corner, on an arrangement of monitors.
struct arrangement_case {
  const char* name;
  std::vector<monitor_area> monitors;
  pixel_rect outer[4];  // the monitor of each corner for the desktop's outer corner
};

TEST(Placement, EachCornerOfEachArrangementForBothScreenSettings) {
  constexpr pixel_rect Main{0, 0, 1280, 1024}, Left{-1024, 0, 0, 768}, Above{0, -768, 1024, 0}, Wide{0, 0, 1920, 1080},
      Right{1920, 0, 3200, 1024}, LowRight{1920, 312, 3286, 1080}, FarLeft{-1280, 0, 0, 1024};
  const arrangement_case cases[] = {
      {"left of the main one", {{Main, true}, {Left, false}}, {Left, Main, Left, Main}},
      {"left of the main one, listed first", {{Left, false}, {Main, true}}, {Left, Main, Left, Main}},
      {"right of the main one", {{Wide, true}, {Right, false}}, {Wide, Right, Wide, Right}},
      {"above the main one and narrower", {{Main, true}, {Above, false}}, {Above, Above, Main, Main}},
      {"smaller, offset to the bottom", {{Wide, true}, {LowRight, false}}, {Wide, LowRight, Wide, LowRight}},
      {"three in a row", {{FarLeft, false}, {Wide, true}, {Right, false}}, {FarLeft, Right, FarLeft, Right}},
      {"three with the right one removed", {{FarLeft, false}, {Wide, true}}, {FarLeft, Wide, FarLeft, Wide}},
      // Corners as far out as the main one's: the main one keeps them.
      {"a tie",
       {{{-300, 300, 0, 1300}, false}, {{0, 0, 1000, 1000}, true}},
       {{0, 0, 1000, 1000}, {0, 0, 1000, 1000}, {-300, 300, 0, 1300}, {0, 0, 1000, 1000}}},
  };
  for (const arrangement_case& arrangement : cases) {
    SCOPED_TRACE(arrangement.name);
    const pixel_rect main =
        std::find_if(arrangement.monitors.begin(), arrangement.monitors.end(), [](const monitor_area& m) {
          return m.main;
        })->rect;
    for (int i = 0; i < 4; ++i) {
      SCOPED_TRACE(i);
      const ScreenCorner corner = Corners[i];
      for (ScreenChoice screen : {ScreenChoice::Main, ScreenChoice::OuterCorner}) {
        const pixel_rect monitor = screen == ScreenChoice::Main ? main : arrangement.outer[i];
        // Flush in the corner, at the scale, with the bar beside it on the same monitor.
        const moxel_anchor hovered = PlaceMoxel(arrangement.monitors, corner, screen, 2, 14, 14);
        const bool right = i == 1 || i == 3, bottom = i >= 2;
        const int left = right ? monitor.right - 28 : monitor.left, top = bottom ? monitor.bottom - 28 : monitor.top;
        EXPECT_EQ(hovered.moxel, (pixel_rect{left, top, left + 28, top + 28}));
        EXPECT_EQ(hovered.screen, monitor);
        const int barLeft = right ? left - 118 : left + 28, barTop = bottom ? monitor.bottom - 28 : monitor.top;
        EXPECT_EQ(RectBeside(hovered, 118, 28), (pixel_rect{barLeft, barTop, barLeft + 118, barTop + 28}));
      }
    }
  }
}

TEST(Placement, WithoutAMainOrAnyMonitor) {
  const monitor_area unflagged[] = {{{-800, 0, 0, 600}, false}, {{0, 0, 1024, 768}, false}};
  EXPECT_EQ(ChosenMonitor(unflagged, ScreenCorner::TopRight, ScreenChoice::Main), (pixel_rect{-800, 0, 0, 600}));
  EXPECT_EQ(ChosenMonitor(unflagged, ScreenCorner::TopRight, ScreenChoice::OuterCorner), (pixel_rect{0, 0, 1024, 768}));
  EXPECT_EQ(PlaceMoxel({}, ScreenCorner::BottomRight, ScreenChoice::OuterCorner, 1, 7, 7).moxel,
            (pixel_rect{-7, -7, 0, 0}));
}

}  // namespace
