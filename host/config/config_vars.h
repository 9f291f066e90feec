// The component's persisted variables, their defaults, and what a stored corner or screen means.
#pragma once

#include "host/config/cfg_var.h"
#include "host/config/list.h"
#include "host/config/mouse_action.h"

template <>
inline constexpr uint32_t cfg_item_size<MouseActionItem> = 24;
void cfg_item_write(stream_writer* stream, const MouseActionItem& item, abort_callback* abort);
void cfg_item_read(stream_reader* stream, MouseActionItem& item, abort_callback* abort);

extern cfg_objList<MouseActionItem> cfg_mouse_actions;
extern cfg_int_t<unsigned int> cfg_defaults_applied;
extern cfg_int_t<unsigned int> cfg_wheel_sensitivity;
// The screen corner of the moxel as stored; CornerFromStored reads it.
extern cfg_int_t<unsigned int> cfg_moxel_corner;
// Which screen's corner the moxel stands in, as stored; ScreenFromStored reads it.
extern cfg_int_t<unsigned int> cfg_moxel_screen;
// Not 0: the moxel hides while another program's window covers its whole screen.
extern cfg_int_t<unsigned int> cfg_hide_for_fullscreen;

constexpr unsigned int DefaultWheelSensitivity = 128;

extern const MouseActionItem DefaultBindings[9];

// Appends the nine default bindings to `list`, which the caller has just emptied.
void InstallDefaultBindings(list_t<MouseActionItem>& list);

enum class ScreenCorner : uint32_t { TopLeft = 0, TopRight = 1, BottomLeft = 2, BottomRight = 3 };

// The corner a stored value names; a value no corner has (written by a later version, or
// damaged) names the top-left one. The stored value itself is kept as it came.
ScreenCorner CornerFromStored(uint32_t stored);

enum class ScreenChoice : uint32_t {
  Main = 0,         // the main screen
  OuterCorner = 1,  // the screen that holds the chosen corner of the whole desktop
};

// The screen a stored value names; a value no choice has names the main screen, and is kept
// as it came, like the corner.
ScreenChoice ScreenFromStored(uint32_t stored);
