#include <gtest/gtest.h>

#include <cwchar>

#include "host/config/mouse_action.h"
#include "labels/labels.h"
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

std::wstring CommandName(const GUID& action) {
  return action.Data1 ? L"C" + std::to_wstring(action.Data1) : L"<not set>";
}

TEST(Labels, PlainClickSummaryListsEachButtonsUnmodifiedBindingsInOrder) {
  list_t<MouseActionItem> bindings;
  const auto bind = [&](uint32_t key, uint32_t modifiers, uint32_t command) {
    bindings.add_item(MouseActionItem{key, modifiers, GUID{command, 0, 0, {}}});
  };
  EXPECT_EQ(PlainClickSummary(bindings, CommandName), L"");
  bind(RightClick, 0, 2);
  bind(LeftClick, ModifierCtrl, 9);  // a modified click is not the plain one
  bind(LeftFlip, 0, 8);              // nor is a flip
  bind(LeftClick, 0, 1);
  bind(RightClick, 0, 3);
  bind(XButton2Click, 0, 5);
  EXPECT_EQ(PlainClickSummary(bindings, CommandName), L"Left click: C1; Right click: C2, C3; XButton2 click: C5");
}

}  // namespace
