#include "simulator/profile_store.h"

#include <windows.h>

#include <stdexcept>

namespace {
struct file_handle {
  HANDLE handle;
  ~file_handle() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

[[noreturn]] void Fail(const char* what) {
  throw std::runtime_error(std::string(what) + " (error " + std::to_string(GetLastError()) + ")");
}
}  // namespace

std::vector<uint8_t> ReadProfileFile(const std::wstring& path) {
  file_handle file{CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)};
  if (file.handle == INVALID_HANDLE_VALUE) {
    if (GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND) return {};
    Fail("cannot open the configuration");
  }
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.handle, &size) || size.QuadPart > 0x7FFFFFFF) Fail("cannot size the configuration");
  std::vector<uint8_t> bytes(size_t(size.QuadPart));
  DWORD got = 0;
  if (!bytes.empty() &&
      (!ReadFile(file.handle, bytes.data(), DWORD(bytes.size()), &got, nullptr) || got != bytes.size()))
    Fail("cannot read the configuration");
  return bytes;
}

void SaveProfileFile(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  const std::wstring temporary = path + L".new";
  {
    file_handle file{CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)};
    if (file.handle == INVALID_HANDLE_VALUE) Fail("cannot create the temporary configuration");
    DWORD written = 0;
    const bool ok = (bytes.empty() || (WriteFile(file.handle, bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
                                       written == bytes.size())) &&
                    FlushFileBuffers(file.handle);
    if (!ok) {
      const DWORD error = GetLastError();
      CloseHandle(file.handle);
      file.handle = INVALID_HANDLE_VALUE;
      DeleteFileW(temporary.c_str());
      SetLastError(error);
      Fail("cannot write the configuration");
    }
  }
  if (!MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    DeleteFileW(temporary.c_str());
    SetLastError(error);
    Fail("cannot replace the configuration");
  }
}
