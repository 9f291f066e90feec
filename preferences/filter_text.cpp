#include "preferences/filter_text.h"

void LowerAsciiInPlace(std::wstring& text) {
  for (wchar_t& c : text) {
    if (c >= L'A' && c <= L'Z') c = wchar_t(c - L'A' + L'a');
  }
}
