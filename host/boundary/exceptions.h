// The failures that travel between the component and the host, each with its message.
#pragma once

#include <exception>
#include <new>

#define QUORBEL_DECLARE_EXCEPTION(name, base, message)             \
  class name : public base {                                       \
   public:                                                         \
    const char* what() const noexcept override { return message; } \
  }

QUORBEL_DECLARE_EXCEPTION(exception_service_not_found, std::exception, "Service not found");
QUORBEL_DECLARE_EXCEPTION(exception_service_duplicated, std::exception, "Service duplicated");
QUORBEL_DECLARE_EXCEPTION(exception_bug_check, std::exception, "Bug check");
QUORBEL_DECLARE_EXCEPTION(exception_not_implemented, exception_bug_check, "Feature not implemented");

// The out-of-memory failure, with the message the host expects of it.
QUORBEL_DECLARE_EXCEPTION(bad_allocation, std::bad_alloc, "bad allocation");

namespace quorbel_io {
QUORBEL_DECLARE_EXCEPTION(exception_io, std::exception, "I/O error");
QUORBEL_DECLARE_EXCEPTION(exception_io_data, exception_io, "Unsupported format or corrupted file");
QUORBEL_DECLARE_EXCEPTION(exception_io_data_truncation, exception_io_data, "Unsupported format or corrupted file");
QUORBEL_DECLARE_EXCEPTION(exception_aborted, std::exception, "User abort");
}  // namespace quorbel_io

#undef QUORBEL_DECLARE_EXCEPTION
