// The first run's defaults and the dispatch of a recognised gesture to bound commands.
#pragma once

#include <cstdint>

// Once per configuration: replaces the bindings by the defaults and resets the sensitivity.
void ApplyFirstRunDefaults();

// Runs, in list order, the command of every binding that matches the gesture exactly.
void RunActions(uint32_t modifiers, uint32_t mouseKey);
