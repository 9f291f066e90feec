// Text as the command filter compares it.
#pragma once

#include <string>

// The name lower-cased the way filters compare: A to Z become a to z, nothing else changes.
void LowerAsciiInPlace(std::wstring& text);
