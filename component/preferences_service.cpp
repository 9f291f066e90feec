#include "component/preferences_service.h"

#include <string>

#include "component/guarded_window.h"
#include "component/initquit.h"
#include "component/shared_library.h"
#include "component/window_service.h"
#include "host/boundary/boundary.h"
#include "host/boundary/exception_win32.h"
#include "host/boundary/exceptions.h"
#include "host/player/service_lookup.h"
#include "preferences/preferences_page.h"

namespace {

// The page as the player holds it: it answers the player's page operations, and passes the
// page's state changes on to the player and its applied corner on to the moxel.
class page_instance_base : public CMyPreferences, public preferences_page_instance {
 public:
  // Takes a reference to `callback`.
  explicit page_instance_base(page_callback* callback) : callback_(service_ptr_t<page_callback>::share(callback)) {}

  uint32_t get_state() override {
    return HasChanges() ? PreferencesStateResettable | PreferencesStateChanged : PreferencesStateResettable;
  }
  HWND get_wnd() override { return m_hWnd; }
  void apply() override {
    boundary::serve([&] { Apply(); });
  }
  void reset() override {
    boundary::serve([&] { Reset(); });
  }

 private:
  void StateChanged() override {
    if (callback_) boundary::call([&] { callback_->on_state_changed(); });
  }
  void PositionApplied() override { g_moxel_window.FollowPosition(); }

  service_ptr_t<page_callback> callback_;
};

// The player's own filter decides about an exception inside a page message.
LONG HostFilter(EXCEPTION_POINTERS* exception) { return uExceptFilterProc(exception); }

using page_instance = window_service_impl_t<CWindowFixSEH<page_instance_base, HostFilter, boundary::serve_work>,
                                            preferences_page_instance>;

// A page instance as a child of `parent`, carrying one reference for the caller; throws
// exception_win32 when the dialog cannot be created.
preferences_page_instance* InstantiatePage(HWND parent, page_callback* callback) {
  // Held while the dialog is created, then handed to the player: a dialog that dies during
  // its creation cannot take the instance with it before the failure is reported.
  auto instance = service_ptr_t<page_instance>::share(new page_instance(callback));
  SetLastError(0);
  if (!instance->Create(parent)) throw exception_win32(GetLastError());
  return instance.detach();
}

}  // namespace

HWND preferences_page_myimpl::create(HWND) {
  return boundary::serve([]() -> HWND { throw exception_not_implemented(); });
}

bool preferences_page_myimpl::get_help_url(string_base& out) {
  return boundary::serve([&] {
    boundary::call([&] { out.truncate(0); });
    const auto append = [&out](const std::string& text) {
      boundary::call([&] { out.add_string(text.c_str(), text.size()); });
    };
    append(HelpBase);
    {
      service_ptr_t<host_information> information;
      service_lookup_t(information);
      const char* text = boundary::call([&] { return information->get_text(); });
      append(text ? text : "");
    }
    append("/preferences/" + GuidText(PageGuid) + "/" + get_name());
    return true;
  });
}

preferences_page_instance* preferences_page_myimpl::instantiate(HWND parent, page_callback* callback) {
  return boundary::serve([&] { return InstantiatePage(parent, callback); });
}
