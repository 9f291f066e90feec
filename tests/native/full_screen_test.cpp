#include "moxel/full_screen.h"

#include <gtest/gtest.h>

namespace {

constexpr pixel_rect Screen{0, 0, 1280, 1024};
constexpr pixel_rect LeftScreen{-1920, -56, 0, 1024};  // a second screen left of the main one

// A shown window without a title bar whose client area is its rectangle.
front_window Borderless(const pixel_rect& rect) { return {rect, rect, false, true}; }

TEST(FullScreen, AWindowWithoutTitleBarCountsWhenItsRectangleCoversTheScreen) {
  EXPECT_TRUE(CoversScreen(Borderless(Screen), Screen));
  EXPECT_TRUE(CoversScreen(Borderless({-8, -8, 1288, 1032}), Screen));
  EXPECT_TRUE(CoversScreen(Borderless(LeftScreen), LeftScreen));
  // One pixel short on any side, or on the other screen, is not full-screen.
  for (const pixel_rect& short_of : {pixel_rect{1, 0, 1280, 1024}, pixel_rect{0, 1, 1280, 1024},
                                     pixel_rect{0, 0, 1279, 1024}, pixel_rect{0, 0, 1280, 1023}, LeftScreen}) {
    EXPECT_FALSE(CoversScreen(Borderless(short_of), Screen)) << short_of.left << "," << short_of.top;
  }
  // Covering both screens covers each.
  EXPECT_TRUE(CoversScreen(Borderless({-1920, -56, 1280, 1024}), Screen));
  // A thick frame without a title bar hanging over the edges still fills the screen.
  EXPECT_TRUE(CoversScreen({{-8, -8, 1288, 1032}, {0, 0, 1280, 1024}, false, true}, Screen));
}

TEST(FullScreen, ATitleBarCountsOnlyWhenTheClientAreaCoversTheScreen) {
  // Maximised on a screen without a taskbar: borders over the edges, the title bar on it.
  const front_window maximised{{-8, -8, 1288, 1032}, {0, 23, 1280, 1024}, true, true};
  EXPECT_FALSE(CoversScreen(maximised, Screen));
  // Its title bar pushed off the screen: the client area fills it.
  const front_window titleOffScreen{{-8, -31, 1288, 1032}, {0, 0, 1280, 1024}, true, true};
  EXPECT_TRUE(CoversScreen(titleOffScreen, Screen));
}

TEST(FullScreen, DesktopOwnHiddenWindowsAndEmptyScreensNeverCount) {
  front_window front = Borderless(Screen);
  front.desktop = true;
  EXPECT_FALSE(CoversScreen(front, Screen));
  front = Borderless(Screen);
  front.ours = true;
  EXPECT_FALSE(CoversScreen(front, Screen));
  front = Borderless(Screen);
  front.shown = false;  // hidden, minimised or gone
  EXPECT_FALSE(CoversScreen(front, Screen));
  for (const pixel_rect& empty : {pixel_rect{0, 0, 0, 0}, pixel_rect{10, 10, 5, 20}, pixel_rect{10, 10, 20, 10}})
    EXPECT_FALSE(CoversScreen(Borderless({-100, -100, 2000, 2000}), empty));
}

}  // namespace
