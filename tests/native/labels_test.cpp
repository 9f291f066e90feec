#include <gtest/gtest.h>

#include <cwchar>

#include "moxel/mouse_action.h"
#include "preferences/labels.h"
#include "preferences/sensitivity.h"

namespace {

std::wstring Modifiers(uint32_t bits) {
  wchar_t label[ModifierLabelCapacity];
  ModifierLabel(bits, label);
  return label;
}

TEST(Labels, ModifierWordsComeInFixedOrderAndIgnoreOtherBits) {
  EXPECT_EQ(Modifiers(0x2c), L"Ctrl + Alt + Shift");
  EXPECT_EQ(Modifiers(0x24), L"Alt + Shift");
  EXPECT_EQ(Modifiers(0x0c), L"Ctrl + Shift");
  EXPECT_EQ(Modifiers(0x04), L"Shift");
  EXPECT_EQ(Modifiers(0), L"");
  EXPECT_EQ(Modifiers(0xFFFFFFD3), L"");  // every bit but the three modifiers
}

TEST(Labels, KeyNamesCoverTheTableAndNameUnknownCodes) {
  EXPECT_STREQ(KeyLabel(NotSet), L"<not set>");
  EXPECT_STREQ(KeyLabel(RightFlip), L"Right flip");
  EXPECT_STREQ(KeyLabel(8), L"<unknown key>");
  EXPECT_STREQ(KeyLabel(0xFFFFFFFF), L"<unknown key>");
}

TEST(Sensitivity, StoredValuesBeyondThePageRangeShowAsItsMaximum) {
  EXPECT_EQ(SensitivityShown(0), 0u);
  EXPECT_EQ(SensitivityShown(400), 400u);
  EXPECT_EQ(SensitivityShown(401), 400u);
  EXPECT_EQ(SensitivityShown(0x80000000u), 400u);
  EXPECT_EQ(SensitivityShown(0xFFFFFFFFu), 400u);
}

}  // namespace
