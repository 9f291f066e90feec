#include "preferences/filter_text.h"

namespace {
wchar_t LowerAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? wchar_t(c - L'A' + L'a') : c; }
}  // namespace

void LowerAsciiInPlace(std::wstring& text) {
  for (wchar_t& c : text) c = LowerAscii(c);
}

bool ContainsLowered(std::wstring_view text, std::wstring_view lowered) {
  for (size_t start = 0; start + lowered.size() <= text.size(); ++start) {
    size_t matched = 0;
    while (matched < lowered.size() && LowerAscii(text[start + matched]) == lowered[matched]) ++matched;
    if (matched == lowered.size()) return true;
  }
  return false;
}
