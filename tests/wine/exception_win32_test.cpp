#include <gtest/gtest.h>
#include <windows.h>

#include "host/boundary/exception_win32.h"

namespace {

TEST(ExceptionWin32, FixedMessagesReplaceTheSystemText) {
  EXPECT_STREQ(exception_win32(0).what(), "Undefined error");
  EXPECT_STREQ(exception_win32(193).what(), "Not a valid Win32 application.");
  EXPECT_STREQ(exception_win32(217).what(), "Unable to modify a signed binary.");
  EXPECT_STREQ(exception_win32(218).what(), "Unable to modify a signed binary.");
  EXPECT_EQ(exception_win32(216).code(), 216u);
}

TEST(ExceptionWin32, SystemTextIsOneLineAndUnknownCodesAreNamed) {
  const std::string message = exception_win32(ERROR_ACCESS_DENIED).what();
  EXPECT_FALSE(message.empty());
  EXPECT_EQ(message.find_first_of("\r\n"), std::string::npos);
  EXPECT_EQ(message.find("Unknown error code"), std::string::npos);
  EXPECT_STREQ(exception_win32(0x7FFFFFF0).what(), "Unknown error code (2147483632)");
}

TEST(ExceptionWin32, LastErrorIsLeftAsItWas) {
  for (uint32_t code : {0u, 5u, 0x7FFFFFF0u}) {
    SetLastError(0xdeadbeef);
    exception_win32 error(code);
    EXPECT_EQ(GetLastError(), 0xdeadbeefu) << code;
  }
}

}  // namespace
