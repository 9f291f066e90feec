#include "host/config_vars.h"

// Construction order fixes the order of both variable lists (each pushes to the front), and
// so the order of the entries in the written stream: sensitivity, flag, bindings, corner.
// The corner came later: its entry goes last, so the stream starts as it always did.
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
