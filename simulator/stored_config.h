// Reads the binding list out of a saved configuration, for showing what a session stored.
#pragma once

#include <cstdint>
#include <vector>

#include "host/config/mouse_action.h"

// The bindings held by the list entry of `config`; empty when there is none or it is damaged.
std::vector<MouseActionItem> StoredBindings(const std::vector<uint8_t>& config);

// The 32-bit value of the entry for `variable`, or `fallback` when there is none.
uint32_t StoredValue(const std::vector<uint8_t>& config, const GUID& variable, uint32_t fallback);
