// Text as the command filter compares it.
#pragma once

#include <string>
#include <string_view>

// The name lower-cased the way filters compare: A to Z become a to z, nothing else changes.
void LowerAsciiInPlace(std::wstring& text);

// Whether `text`, lower-cased so, holds `lowered`.
bool ContainsLowered(std::wstring_view text, std::wstring_view lowered);
