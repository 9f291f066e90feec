// Installed while the library loads: the C runtime's signals, its abort report, pure
// virtual calls and invalid parameters all end in a non-continuable structured exception
// that the host's own exception handling sees.
#include "host/failure_handlers.h"

#include <windows.h>

#include <csignal>
#include <cstdlib>
#include <exception>
#include <initializer_list>

namespace {

#ifndef SIGBREAK
#define SIGBREAK 21
#endif

[[noreturn]] void RaiseFailure(DWORD code, DWORD argumentCount, const ULONG_PTR* arguments) {
  RaiseException(code, EXCEPTION_NONCONTINUABLE, argumentCount, arguments);
  // A non-continuable exception cannot come back here.
  TerminateProcess(GetCurrentProcess(), code);
  for (;;) {
  }
}

void __cdecl OnSignal(int signal) {
  const ULONG_PTR argument = ULONG_PTR(signal);
  RaiseFailure(SignalExceptionCode, 1, &argument);
}

void __cdecl OnPureCall() { RaiseFailure(PureVirtualExceptionCode, 0, nullptr); }

void __cdecl OnInvalidParameter(const wchar_t*, const wchar_t*, const wchar_t*, unsigned, uintptr_t) {
  RaiseFailure(InvalidParameterExceptionCode, 0, nullptr);
}

// Runtime entry points that only some versions of the C runtime export.
template <class Proc>
Proc RuntimeProc(const char* name) {
  const HMODULE runtime = GetModuleHandleW(L"msvcrt.dll");
  return runtime ? reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(runtime, name))) : nullptr;
}

void InstallFailureHandlers() {
  for (int signal : {SIGINT, SIGTERM, SIGBREAK, SIGABRT}) std::signal(signal, OnSignal);

  using set_abort_behavior = unsigned(__cdecl*)(unsigned, unsigned);
  if (auto set = RuntimeProc<set_abort_behavior>("_set_abort_behavior")) set(0, ~0u);

  using purecall_handler = void(__cdecl*)();
  using set_purecall_handler = purecall_handler(__cdecl*)(purecall_handler);
  if (auto set = RuntimeProc<set_purecall_handler>("_set_purecall_handler")) set(OnPureCall);

  using invalid_parameter_handler = void(__cdecl*)(const wchar_t*, const wchar_t*, const wchar_t*, unsigned, uintptr_t);
  using set_invalid_parameter_handler = invalid_parameter_handler(__cdecl*)(invalid_parameter_handler);
  if (auto set = RuntimeProc<set_invalid_parameter_handler>("_set_invalid_parameter_handler")) set(OnInvalidParameter);
}

const bool g_failure_handlers_installed = (InstallFailureHandlers(), true);

}  // namespace

// std::terminate's handler until someone sets another. The C++ runtime's own prints the
// demangled type of the exception first, which would link its whole name demangler into the
// library; the end is the same: abort, which the SIGABRT handler turns into the failure above.
void __gnu_cxx::__verbose_terminate_handler() { std::abort(); }

// The compiler's own pure-virtual calls come here rather than to the C runtime's handler.
extern "C" void __cxa_pure_virtual() { OnPureCall(); }
