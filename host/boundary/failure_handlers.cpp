// Installed while the library loads: the C runtime's signals, its abort report, pure
// virtual calls and invalid parameters all end in a non-continuable structured exception
// that the host's own exception handling sees.
#include "host/boundary/failure_handlers.h"

#include <windows.h>

#include <csignal>
#include <cstdlib>
#include <exception>
#include <iterator>

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
  // The runtime puts the default action back before it calls a handler.
  std::signal(signal, OnSignal);
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

using signal_handler = void(__cdecl*)(int);
using set_abort_behavior = unsigned(__cdecl*)(unsigned, unsigned);
using purecall_handler = void(__cdecl*)();
using set_purecall_handler = purecall_handler(__cdecl*)(purecall_handler);
using invalid_parameter_handler = void(__cdecl*)(const wchar_t*, const wchar_t*, const wchar_t*, unsigned, uintptr_t);
using set_invalid_parameter_handler = invalid_parameter_handler(__cdecl*)(invalid_parameter_handler);

constexpr int HandledSignals[] = {SIGINT, SIGTERM, SIGBREAK, SIGABRT};
constexpr unsigned AbortBehaviorFlags = ~0u;

// Installed on the C runtime that the whole process shares, while the library is loaded; at
// unload the process gets back the handlers it had, wherever ours are still the ones in place
// (a handler installed after ours stays).
class failure_handlers {
 public:
  failure_handlers() {
    for (size_t i = 0; i < std::size(HandledSignals); ++i)
      previous_signals_[i] = std::signal(HandledSignals[i], OnSignal);
    if (auto set = RuntimeProc<set_abort_behavior>("_set_abort_behavior")) previous_abort_ = set(0, AbortBehaviorFlags);
    if (auto set = RuntimeProc<set_purecall_handler>("_set_purecall_handler")) previous_purecall_ = set(OnPureCall);
    if (auto set = RuntimeProc<set_invalid_parameter_handler>("_set_invalid_parameter_handler"))
      previous_invalid_parameter_ = set(OnInvalidParameter);
  }

  ~failure_handlers() {
    for (size_t i = 0; i < std::size(HandledSignals); ++i) {
      const signal_handler current = std::signal(HandledSignals[i], previous_signals_[i]);
      if (current != OnSignal && current != SIG_ERR) std::signal(HandledSignals[i], current);
    }
    if (auto set = RuntimeProc<set_abort_behavior>("_set_abort_behavior")) set(previous_abort_, AbortBehaviorFlags);
    if (auto set = RuntimeProc<set_purecall_handler>("_set_purecall_handler")) {
      const purecall_handler current = set(previous_purecall_);
      if (current != OnPureCall) set(current);
    }
    if (auto set = RuntimeProc<set_invalid_parameter_handler>("_set_invalid_parameter_handler")) {
      const invalid_parameter_handler current = set(previous_invalid_parameter_);
      if (current != OnInvalidParameter) set(current);
    }
  }

 private:
  signal_handler previous_signals_[std::size(HandledSignals)] = {};
  unsigned previous_abort_ = 0;
  purecall_handler previous_purecall_ = nullptr;
  invalid_parameter_handler previous_invalid_parameter_ = nullptr;
};

const failure_handlers g_failure_handlers;

}  // namespace

// std::terminate's handler until someone sets another. The C++ runtime's own prints the
// demangled type of the exception first, which would link its whole name demangler into the
// library; the end is the same: abort, which the SIGABRT handler turns into the failure above.
void __gnu_cxx::__verbose_terminate_handler() { std::abort(); }

// The compiler's own pure-virtual calls come here rather than to the C runtime's handler.
extern "C" void __cxa_pure_virtual() { OnPureCall(); }
