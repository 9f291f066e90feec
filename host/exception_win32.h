// A failed Win32 call, carrying its error code and the text the system gives for it.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

class exception_win32 : public std::exception {
 public:
  // Leaves the thread's last-error value as it found it.
  explicit exception_win32(uint32_t code);

  const char* what() const noexcept override { return message_.c_str(); }
  uint32_t code() const { return code_; }

 private:
  uint32_t code_;
  std::string message_;
};

// The UTF-8 message for a Win32 error code.
std::string Win32ErrorMessage(uint32_t code);
