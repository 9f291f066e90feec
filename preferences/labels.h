// The texts of a binding row: key name and modifier words.
#pragma once

#include <cstdint>

// The key name for a MouseKey code; a code outside the table reads "<unknown key>".
const wchar_t* KeyLabel(uint32_t mouseKey);

constexpr unsigned ModifierLabelCapacity = 256;

// "Ctrl", "Alt" and "Shift" for the set bits, in that order, joined by " + ".
void ModifierLabel(uint32_t modifiers, wchar_t (&label)[ModifierLabelCapacity]);
