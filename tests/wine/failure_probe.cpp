// Loads the component, then raises the failure named on the command line. The structured
// exception the component's handlers turn it into ends the process with the exit code
// 0x100 + the exception's first argument (or 0x100 when it has none); any other ending
// answers 1. "reinstalled" raises SIGINT and ends with 0x200 + whether the component's
// handler is in place again while its exception is raised; "unload" loads and unloads the
// component and ends with 0x300 + whether the probe's own SIGINT handler is back.
#include <windows.h>

#include <csignal>
#include <cstdlib>
#include <cstring>

#include "host/boundary/failure_handlers.h"

namespace {
bool g_asks_reinstalled = false;

LONG CALLBACK OnException(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* record = info->ExceptionRecord;
  if (record->ExceptionCode != SignalExceptionCode || record->NumberParameters != 1 ||
      !(record->ExceptionFlags & EXCEPTION_NONCONTINUABLE))
    return EXCEPTION_CONTINUE_SEARCH;
  if (g_asks_reinstalled) {
    const auto handler = std::signal(SIGINT, SIG_DFL);
    ExitProcess(0x200 + (handler != SIG_DFL && handler != SIG_ERR));
  }
  ExitProcess(0x100 + UINT(record->ExceptionInformation[0]));
}

void __cdecl OnProbeSignal(int) {}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 1;
  AddVectoredExceptionHandler(1, OnException);
  if (std::strcmp(argv[2], "unload") == 0) {
    std::signal(SIGINT, OnProbeSignal);
    const HMODULE component = LoadLibraryA(argv[1]);
    if (!component || !FreeLibrary(component)) return 2;
    return 0x300 + (std::signal(SIGINT, SIG_DFL) == OnProbeSignal);
  }
  g_asks_reinstalled = std::strcmp(argv[2], "reinstalled") == 0;
  if (!LoadLibraryA(argv[1])) return 2;
  if (g_asks_reinstalled) std::raise(SIGINT);
  if (std::strcmp(argv[2], "sigint") == 0) std::raise(SIGINT);
  if (std::strcmp(argv[2], "sigterm") == 0) std::raise(SIGTERM);
  if (std::strcmp(argv[2], "abort") == 0) std::abort();
  return 1;
}
