// Loads the component, then raises the failure named on the command line. The structured
// exception the component's handlers turn it into ends the process with the exit code
// 0x100 + the exception's first argument (or 0x100 when it has none); any other ending
// answers 1.
#include <windows.h>

#include <csignal>
#include <cstdlib>
#include <cstring>

#include "host/failure_handlers.h"

namespace {
LONG CALLBACK OnException(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* record = info->ExceptionRecord;
  if (record->ExceptionCode == SignalExceptionCode && record->NumberParameters == 1 &&
      (record->ExceptionFlags & EXCEPTION_NONCONTINUABLE))
    ExitProcess(0x100 + UINT(record->ExceptionInformation[0]));
  return EXCEPTION_CONTINUE_SEARCH;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 1;
  AddVectoredExceptionHandler(1, OnException);
  if (!LoadLibraryA(argv[1])) return 2;
  if (std::strcmp(argv[2], "sigint") == 0) std::raise(SIGINT);
  if (std::strcmp(argv[2], "sigterm") == 0) std::raise(SIGTERM);
  if (std::strcmp(argv[2], "abort") == 0) std::abort();
  return 1;
}
