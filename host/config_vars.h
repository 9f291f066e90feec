// The component's persisted variables.
#pragma once

#include "host/cfg_var.h"
#include "moxel/mouse_action.h"

template <>
inline constexpr uint32_t cfg_item_size<MouseActionItem> = 24;
void cfg_item_write(stream_writer* stream, const MouseActionItem& item, abort_callback* abort);
void cfg_item_read(stream_reader* stream, MouseActionItem& item, abort_callback* abort);

extern cfg_objList<MouseActionItem> cfg_mouse_actions;
extern cfg_int_t<unsigned int> cfg_defaults_applied;
extern cfg_int_t<unsigned int> cfg_wheel_sensitivity;
// The screen corner of the moxel as stored; CornerFromStored (moxel/corner.h) reads it.
extern cfg_int_t<unsigned int> cfg_moxel_corner;

constexpr unsigned int DefaultWheelSensitivity = 128;
