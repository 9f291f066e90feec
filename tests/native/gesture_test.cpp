#include <gtest/gtest.h>

#include <vector>

#include "moxel/gesture.h"

namespace {

// Feeds button messages and collects the gestures they complete.
class Gestures : public ::testing::Test {
 protected:
  void Send(uint32_t message, uint32_t keyState) {
    Gesture gesture{};
    if (recognizer_.OnButtonMessage(message, keyState, gesture)) fired_.push_back(gesture);
  }
  std::vector<uint32_t> Keys() const {
    std::vector<uint32_t> keys;
    for (const Gesture& g : fired_) keys.push_back(g.mouseKey);
    return keys;
  }

  GestureRecognizer recognizer_;
  std::vector<Gesture> fired_;
};

constexpr uint32_t L = KeyStateLeft, R = KeyStateRight, M = KeyStateMiddle, X1 = KeyStateX1, X2 = KeyStateX2;
constexpr uint32_t Shift = 0x04, Ctrl = 0x08;

TEST_F(Gestures, XButton1PressedDuringALeftClickIsNeitherAltNorAnotherButton) {
  Send(MsgLButtonDown, L);
  Send(MsgLButtonUp, X1 | Shift);  // X button 1 went down while the moxel saw nothing of it
  ASSERT_EQ(fired_.size(), 1u);
  EXPECT_EQ(fired_[0].mouseKey, uint32_t(LeftClick));
  EXPECT_EQ(fired_[0].modifiers, Shift);
  Send(MsgXButtonUp, 0);
  EXPECT_EQ(fired_.size(), 1u);
  // A left click begun while X button 1 is held has both buttons in its set: nothing fires.
  Send(MsgLButtonDown, L | X1);
  Send(MsgLButtonUp, X1);
  EXPECT_EQ(fired_.size(), 1u);
}

TEST_F(Gestures, ClickOfEachButtonFiresAtTheRelease) {
  Send(MsgLButtonDown, L);
  EXPECT_TRUE(fired_.empty());
  Send(MsgLButtonUp, Shift);
  Send(MsgRButtonDown, R);
  Send(MsgRButtonUp, 0);
  Send(MsgMButtonDown, M | Ctrl);
  Send(MsgMButtonUp, Ctrl);
  Send(MsgXButtonDown, X1);
  Send(MsgXButtonUp, Shift | Ctrl);
  Send(MsgXButtonDown, X2);
  Send(MsgXButtonUp, 0);
  EXPECT_EQ(Keys(), (std::vector<uint32_t>{LeftClick, RightClick, MiddleClick, XButton1Click, XButton2Click}));
  EXPECT_EQ(fired_[0].modifiers, Shift);  // the state at the release counts
  EXPECT_EQ(fired_[2].modifiers, Ctrl);
  EXPECT_EQ(fired_[3].modifiers, Shift | Ctrl);
  EXPECT_EQ(recognizer_.buttonMask(), 0u);
}

TEST_F(Gestures, FlipFiresAtTheSecondPressAndItsReleasesFireNothing) {
  Send(MsgLButtonDown, L);
  Send(MsgRButtonDown, L | R | Shift);
  Send(MsgRButtonUp, L);
  Send(MsgLButtonUp, 0);
  ASSERT_EQ(Keys(), (std::vector<uint32_t>{RightFlip}));
  EXPECT_EQ(fired_[0].modifiers, Shift);
  EXPECT_EQ(recognizer_.buttonMask(), 0u);
}

TEST_F(Gestures, RockingFiresOneFlipPerPress) {
  Send(MsgRButtonDown, R);
  for (int i = 0; i < 3; ++i) {
    Send(MsgLButtonDown, L | R);
    Send(MsgLButtonUp, R);
  }
  Send(MsgRButtonUp, 0);
  EXPECT_EQ(Keys(), (std::vector<uint32_t>{LeftFlip, LeftFlip, LeftFlip}));
}

TEST_F(Gestures, AnyOtherButtonInTheGestureSpoilsClicksAndFlips) {
  Send(MsgLButtonDown, L);
  Send(MsgMButtonDown, L | M);
  Send(MsgLButtonUp, M);
  Send(MsgMButtonUp, 0);
  // X button 1 held while left and right are pressed: no flip, no click.
  Send(MsgXButtonDown, X1);
  Send(MsgLButtonDown, L | X1);
  Send(MsgRButtonDown, L | R | X1);
  Send(MsgLButtonUp, R | X1);
  Send(MsgRButtonUp, X1);
  Send(MsgXButtonUp, 0);
  EXPECT_TRUE(fired_.empty());
  EXPECT_EQ(recognizer_.buttonMask(), 0u);
}

TEST_F(Gestures, MiddleReleasedElsewhereSpoilsOnlyTheNextClick) {
  Send(MsgMButtonDown, M);  // its release happens outside and is never seen
  recognizer_.OnRawButtonFlags(0x0020 /* middle up */, false);
  Send(MsgLButtonDown, L);
  Send(MsgLButtonUp, 0);
  EXPECT_TRUE(fired_.empty());
  Send(MsgLButtonDown, L);
  Send(MsgLButtonUp, 0);
  EXPECT_EQ(Keys(), (std::vector<uint32_t>{LeftClick}));
}

TEST_F(Gestures, LeftOrRightReleaseOutsideEndsTheGesture) {
  Send(MsgRButtonDown, R);
  recognizer_.OnRawButtonFlags(RawRightButtonUp, true);  // still over the moxel: the message will come
  EXPECT_EQ(recognizer_.buttonMask(), R);
  recognizer_.OnRawButtonFlags(RawRightButtonUp, false);
  EXPECT_EQ(recognizer_.buttonMask(), 0u);
  Send(MsgLButtonDown, L);
  Send(MsgLButtonUp, 0);
  EXPECT_EQ(Keys(), (std::vector<uint32_t>{LeftClick}));
}

TEST_F(Gestures, ButtonHeldFromElsewhereJoinsTheGesture) {
  Send(MsgLButtonDown, L | R);  // right pressed outside and held, then left on the moxel
  EXPECT_EQ(Keys(), (std::vector<uint32_t>{LeftFlip}));
}

TEST_F(Gestures, OtherMessagesAndModifierBitsAreIgnored) {
  Gesture gesture{};
  EXPECT_FALSE(recognizer_.OnButtonMessage(0x0200 /* mouse move */, L, gesture));
  EXPECT_EQ(recognizer_.buttonMask(), 0u);
  Send(MsgLButtonDown, L | Shift | Ctrl | 0x80);
  EXPECT_EQ(recognizer_.buttonMask(), L);
}

}  // namespace
