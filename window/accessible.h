// What screen readers are told of one of the library's windows. A window answers WM_GETOBJECT
// for its client area with an accessible object: the system's standard object of that client
// area answers everything but the role, name, value and description, which the window gives.
// The accessibility library is loaded on the first request, never at start-up.
#pragma once

#include <windows.h>

#include <string>

// The texts a window gives. Each may fail (a host service that throws): the object then
// answers that one question with E_FAIL.
class accessible_source {
 public:
  virtual long AccessibleRole() const = 0;
  virtual std::wstring AccessibleName() const = 0;
  virtual std::wstring AccessibleValue() const { return {}; }
  virtual std::wstring AccessibleDescription() const { return {}; }

 protected:
  ~accessible_source() = default;
};

class accessible_window;

// A window's accessible object, made on the first request and kept while the window lives.
// Clients may hold the object longer: after Disconnect it answers RPC_E_DISCONNECTED.
class accessible_client {
 public:
  explicit accessible_client(const accessible_source& source) : source_(source) {}
  accessible_client(const accessible_client&) = delete;
  accessible_client& operator=(const accessible_client&) = delete;
  ~accessible_client() { Disconnect(); }

  // The answer to WM_GETOBJECT: the object for the client area, 0 (the system's own answer)
  // for any other object or when the system has no accessibility library.
  LRESULT Answer(HWND window, WPARAM flags, LPARAM objectId);
  // Called when the window goes.
  void Disconnect();

 private:
  const accessible_source& source_;
  accessible_window* object_ = nullptr;  // one reference, held while connected
};

// Tells screen readers that `event` (EVENT_OBJECT_...) happened to the window's client area.
inline void NotifyAccessibleEvent(DWORD event, HWND window) {
  NotifyWinEvent(event, window, OBJID_CLIENT, CHILDID_SELF);
}
