#include "host/config/config_vars.h"

// Construction order fixes the order of both variable lists (each pushes to the front), and
// so the order of the entries in the written stream: sensitivity, flag, bindings, corner,
// screen, full-screen option. Each later variable's entry goes after the earlier ones, so the
// stream starts as it always did.
cfg_int_t<unsigned int> cfg_hide_for_fullscreen(
    {0x4E6F921F, 0xDF3A, 0x4D50, {0xB2, 0xF5, 0xAF, 0x38, 0xBF, 0xCC, 0x39, 0xEC}}, 0);
cfg_int_t<unsigned int> cfg_moxel_screen({0x3FF1550A, 0x74EE, 0x4EE3, {0xBA, 0xAB, 0x1A, 0xBC, 0x21, 0x8E, 0x4F, 0xCB}},
                                         0);
cfg_int_t<unsigned int> cfg_moxel_corner({0x12256272, 0x3778, 0x4E9B, {0x83, 0xBE, 0xD0, 0x51, 0x47, 0x04, 0x7E, 0xEC}},
                                         0);
cfg_objList<MouseActionItem> cfg_mouse_actions(
    {0x440A3A2D, 0x0741, 0x49DA, {0xAA, 0x89, 0xE9, 0xB2, 0x84, 0xFE, 0x10, 0xE2}});
cfg_int_t<unsigned int> cfg_defaults_applied(
    {0x88363A70, 0x55BA, 0x420B, {0xA4, 0x0F, 0x92, 0xEF, 0x01, 0x73, 0xF4, 0x6D}}, 0);
cfg_int_t<unsigned int> cfg_wheel_sensitivity(
    {0x46BDBF9D, 0x9A8C, 0x48CB, {0xA5, 0xA1, 0xBC, 0x84, 0x26, 0x5C, 0xC9, 0xCD}}, DefaultWheelSensitivity);

// Each field is its own write and read.
void cfg_item_write(stream_writer* stream, const MouseActionItem& item, abort_callback* abort) {
  stream_write_le32(stream, item.mouseKey, abort);
  stream_write_le32(stream, item.modifiers, abort);
  stream_write_le32(stream, item.action.Data1, abort);
  stream_write_le16(stream, item.action.Data2, abort);
  stream_write_le16(stream, item.action.Data3, abort);
  stream->write(item.action.Data4, sizeof item.action.Data4, abort);
}

void cfg_item_read(stream_reader* stream, MouseActionItem& item, abort_callback* abort) {
  item.mouseKey = stream_read_le32(stream, abort);
  item.modifiers = stream_read_le32(stream, abort);
  item.action.Data1 = stream_read_le32(stream, abort);
  item.action.Data2 = stream_read_le16(stream, abort);
  item.action.Data3 = stream_read_le16(stream, abort);
  stream->read_object(item.action.Data4, sizeof item.action.Data4, abort);
}

namespace {
constexpr GUID PlayOrPause = {0x90500F09, 0xF16F, 0x415E, {0xA0, 0x47, 0xAC, 0x50, 0x45, 0xC9, 0x5F, 0xFE}};
constexpr GUID Previous = {0x059C4566, 0x4708, 0x4EBF, {0x81, 0x39, 0x6A, 0x8E, 0xA5, 0xA9, 0xDF, 0xC8}};
constexpr GUID Stop = {0x13C17E8D, 0x0D6F, 0x41A4, {0xB2, 0x4A, 0x59, 0x37, 0x10, 0x43, 0xE9, 0x25}};
constexpr GUID Next = {0xE58895A0, 0xA2F0, 0x45B6, {0x87, 0x99, 0x14, 0x40, 0xE4, 0xDB, 0x72, 0x84}};
constexpr GUID Random = {0x8DEBC44E, 0xEDA2, 0x48D4, {0x86, 0x96, 0x31, 0xFC, 0x29, 0xD1, 0xF3, 0x83}};
}  // namespace

const MouseActionItem DefaultBindings[9] = {
    {LeftClick, 0, PlayOrPause}, {LeftClick, ModifierShift, Previous},
    {RightClick, 0, Stop},       {RightClick, ModifierShift, Next},
    {MiddleClick, 0, Random},    {XButton1Click, 0, Previous},
    {XButton2Click, 0, Next},    {LeftFlip, 0, Previous},
    {RightFlip, 0, Next},
};

void InstallDefaultBindings(list_t<MouseActionItem>& list) {
  list.insert_items(DefaultBindings, sizeof DefaultBindings / sizeof DefaultBindings[0], list.get_count());
}

ScreenCorner CornerFromStored(uint32_t stored) {
  return stored <= uint32_t(ScreenCorner::BottomRight) ? ScreenCorner(stored) : ScreenCorner::TopLeft;
}

ScreenChoice ScreenFromStored(uint32_t stored) {
  return stored <= uint32_t(ScreenChoice::OuterCorner) ? ScreenChoice(stored) : ScreenChoice::Main;
}
