// Narrow text from the host made into window text.
#pragma once

#include <cstddef>
#include <string>

// The host's narrow text as UTF-16 (the thread's code page); empty text, or text that does
// not convert, gives the empty string.
std::wstring WideFromHost(const char* text, size_t length);

// The name lower-cased the way filters compare: A to Z become a to z, nothing else changes.
void LowerAsciiInPlace(std::wstring& text);
