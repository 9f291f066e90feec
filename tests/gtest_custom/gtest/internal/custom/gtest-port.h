// GoogleTest's own customisation point, found before the one it ships: its Notification on a
// Win32 event. The C++ library of MinGW's Win32 thread model has no std::mutex or
// std::condition_variable, which GoogleTest's portable Notification takes.
#pragma once

#include <windows.h>

namespace testing::internal {

class Notification {
 public:
  Notification() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Notification() { CloseHandle(event_); }
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { SetEvent(event_); }
  void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace testing::internal

#define GTEST_HAS_NOTIFICATION_ 1
