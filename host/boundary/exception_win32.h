// A failed Win32 call, carrying its error code and the text the system gives for it. The
// text is kept by the module (InternedText), so that it outlives every copy of the object.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

class exception_win32 : public std::exception {
 public:
  // Leaves the thread's last-error value as it found it.
  explicit exception_win32(uint32_t code);

  const char* what() const noexcept override { return message_; }
  uint32_t code() const { return code_; }

 private:
  uint32_t code_;
  const char* message_;
};

// The UTF-8 message for a Win32 error code.
std::string Win32ErrorMessage(uint32_t code);
