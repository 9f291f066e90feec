#include "host/boundary/exception_win32.h"

#include <windows.h>

#include "host/boundary/exceptions.h"
#include "host/boundary/interned_text.h"

namespace {

// Codes whose system text is replaced by a fixed message.
const char* FixedMessage(uint32_t code) {
  switch (code) {
    case 0: return "Undefined error";
    case 129: return "Application cannot be run in Win32 mode.";
    case 182: return "Invalid ordinal.";
    case 188: return "Invalid code segment.";
    case 189: return "Invalid stack segment.";
    case 190: return "Invalid module type.";
    case 191: return "Invalid executable signature.";
    case 193: return "Not a valid Win32 application.";
    case 216: return "Machine type mismatch.";
    case 217:
    case 218: return "Unable to modify a signed binary.";
    default: return nullptr;
  }
}

std::string SystemMessage(uint32_t code) {
  wchar_t text[512];
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, 512, nullptr);
  if (length == 0) return "Unknown error code (" + std::to_string(code) + ")";
  for (DWORD i = 0; i < length; ++i) {
    if (text[i] == L'\r' || text[i] == L'\n') text[i] = L' ';
  }
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, int(length), nullptr, 0, nullptr, nullptr);
  std::string utf8(size_t(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, text, int(length), &utf8[0], bytes, nullptr, nullptr);
  return utf8;
}

}  // namespace

std::string Win32ErrorMessage(uint32_t code) {
  const DWORD saved = GetLastError();
  const char* fixed = FixedMessage(code);
  std::string message = fixed ? std::string(fixed) : SystemMessage(code);
  SetLastError(saved);
  return message;
}

namespace {
const char* KeptMessage(uint32_t code) {
  if (const char* kept = InternedText(Win32ErrorMessage(code).c_str())) return kept;
  throw bad_allocation();
}
}  // namespace

exception_win32::exception_win32(uint32_t code) : code_(code), message_(KeptMessage(code)) {}
