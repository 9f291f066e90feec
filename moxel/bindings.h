// The binding list's defaults and the dispatch of a recognised gesture to bound commands.
#pragma once

#include <cstdint>

#include "host/list.h"
#include "moxel/mouse_action.h"

extern const MouseActionItem DefaultBindings[9];

// Appends the nine default bindings to `list`, which the caller has just emptied.
void InstallDefaultBindings(list_t<MouseActionItem>& list);

// Once per configuration: replaces the bindings by the defaults and resets the sensitivity.
void ApplyFirstRunDefaults();

// Runs, in list order, the command of every binding that matches the gesture exactly.
void RunActions(uint32_t modifiers, uint32_t mouseKey);
