// Helpers of the tests that run the component library under Wine.
#pragma once

#include <windows.h>

#include <string>

// The folder of the running test executable, where the build puts the component too.
inline std::wstring BinFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L"\\/"));
}

inline std::wstring ComponentPath() { return BinFolder() + L"\\moxel_control.dll"; }

// Runs a program of the bin folder with `arguments` and answers its exit code. The child's
// own waits end it; only a child that hangs runs into the bound.
inline DWORD RunChild(const std::wstring& program, const std::wstring& arguments) {
  std::wstring command = L"\"" + BinFolder() + L"\\" + program + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return 0xFFFFFFFF;
  WaitForSingleObject(process.hProcess, 5 * 60 * 1000);
  DWORD code = 0xFFFFFFFF;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

// A fresh, empty folder under the temporary folder.
inline std::wstring FreshFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + name;
  const std::wstring pattern = folder + L"\\*";
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring path = folder + L"\\" + found.cFileName;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveDirectoryW(path.c_str());
      else
        DeleteFileW(path.c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}
