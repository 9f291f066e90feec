// The texts of a binding row, shared by the page and the moxel: key name, modifier words
// and command name.
#pragma once

#include <cstdint>
#include <string>

#include "host/config/list.h"
#include "host/config/mouse_action.h"

// The key name for a MouseKey code; a code outside the table reads "<unknown key>".
const wchar_t* KeyLabel(uint32_t mouseKey);

constexpr unsigned ModifierLabelCapacity = 256;

// "Ctrl", "Alt" and "Shift" for the set bits, in that order, joined by " + ".
void ModifierLabel(uint32_t modifiers, wchar_t (&label)[ModifierLabelCapacity]);

// The command's display text as the host names it; "<not set>" for the all-zero GUID and
// "<unknown>" for any other command the host does not name. Asks the host each time.
std::wstring ActionLabel(const GUID& action);

// What the plain clicks of the five buttons run, for screen readers: each button that has
// bindings without modifiers, with their commands in list order ("Left click: Play or pause;
// Right click: Next, Stop"). Empty when no plain click is bound.
std::wstring PlainClickSummary(const list_t<MouseActionItem>& bindings, std::wstring (*actionLabel)(const GUID&));
