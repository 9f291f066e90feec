#include "host/preferences_service.h"

#include <string>

#include "host/boundary.h"
#include "host/exceptions.h"
#include "host/service_lookup.h"
#include "preferences/preferences_page.h"

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
  return boundary::serve([&] { return InstantiatePreferencesPage(parent, callback); });
}
