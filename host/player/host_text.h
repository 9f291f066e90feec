// Narrow text from the player made into window text.
#pragma once

#include <cstddef>
#include <string>

// The player's narrow text as UTF-16 (the thread's code page); empty text, or text that does
// not convert, gives the empty string.
std::wstring WideFromHost(const char* text, size_t length);
