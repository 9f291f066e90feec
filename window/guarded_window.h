// Adaptors for a window whose object another module holds: every message processed under a
// structured-exception guard, and a counted service object that is also the window.
#pragma once

#include <windows.h>

#include "host/service.h"
#include "window/seh_guard.h"
#include "window/window.h"

// Processes every message of T under a guard whose filter is `Filter`, so that a failing
// call inside a message ends that message only; T's OnMessageCutShort then puts right what
// the message left half done.
template <class T, seh_filter Filter>
class CWindowFixSEH : public T {
 public:
  using T::T;

  BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    guarded_message m{this, window, message, wParam, lParam, 0, FALSE};
    // A message whose processing the filter cut short counts as not handled.
    if (!RunGuarded(Filter, &Process, &m)) {
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

  static void Process(void* context) {
    auto& m = *static_cast<guarded_message*>(context);
    m.handled = m.self->T::ProcessWindowMessage(m.window, m.message, m.wParam, m.lParam, m.result);
  }
};

// The counted service object of `Interface` that another module receives. It lives until
// both that module's references and the window are gone, whichever goes last.
template <class T, class Interface>
class window_service_impl_t final : public T {
 public:
  using T::T;

  int service_add_ref() override { return int(InterlockedIncrement(&refCount)); }

  int service_release() override {
    const LONG left = InterlockedDecrement(&refCount);
    if (left == 0) {
      if (this->m_hWnd) {
        // The window's last message finishes the object.
        if (!windowDestroyed) this->DestroyWindow();
      } else {
        delete this;
      }
    }
    return int(left);
  }

  bool service_query(service_base*& out, const GUID& guid) override {
    if (guid != Interface::class_guid) return false;
    service_store(out, this);
    return true;
  }

  BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_DESTROY) windowDestroyed = true;
    return T::ProcessWindowMessage(window, message, wParam, lParam, result);
  }

  void OnFinalMessage(HWND) override {
    // Without a reference left, this release ends the object.
    service_add_ref();
    service_release();
  }

 private:
  volatile LONG refCount = 0;
  bool windowDestroyed = false;
};
