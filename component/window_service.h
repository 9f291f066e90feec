// A window whose object another module holds as one of its counted services.
#pragma once

#include <windows.h>

#include "host/player/interfaces/service.h"

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
