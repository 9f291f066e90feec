// A window whose every message is processed under a structured-exception guard.
#pragma once

#include <windows.h>

#include "host/boundary/seh_guard.h"
#include "window/window.h"

// Runs the processing of a message, raising every failure of it as a structured exception.
using served_message = void (*)(void (*process)(void* message), void* message) noexcept;

// Processes every message of T through `Serve` under a guard whose filter is `Filter`, so
// that a failing call inside a message ends that message only; T's OnMessageCutShort then
// puts right what the message left half done.
template <class T, seh_filter Filter, served_message Serve>
class CWindowFixSEH : public T {
 public:
  using T::T;

  BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    guarded_message m{this, window, message, wParam, lParam, 0, FALSE};
    // A message whose processing the filter cut short counts as not handled.
    if (!RunGuarded(Filter, &ServeMessage, &m)) {
      this->OnMessageCutShort();
      return FALSE;
    }
    result = m.result;
    return m.handled;
  }

 private:
  struct guarded_message {
    CWindowFixSEH* self;
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;
    BOOL handled;
  };

  static void ServeMessage(void* context) noexcept { Serve(&Process, context); }

  static void Process(void* context) {
    auto& m = *static_cast<guarded_message*>(context);
    m.handled = m.self->T::ProcessWindowMessage(m.window, m.message, m.wParam, m.lParam, m.result);
  }
};
