#include "host/preferences_service.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "host/exceptions.h"
#include "host/service_lookup.h"
#include "preferences/preferences_page.h"

std::string GuidText(const GUID& g) {
  char text[37];
  std::snprintf(text, sizeof text, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", unsigned(g.Data1), g.Data2,
                g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6],
                g.Data4[7]);
  return text;
}

HWND preferences_page_myimpl::create(HWND) { throw exception_not_implemented(); }

bool preferences_page_myimpl::get_help_url(string_base& out) {
  out.truncate(0);
  const auto append = [&out](const std::string& text) { out.add_string(text.c_str(), text.size()); };
  append(HelpBase);
  {
    service_ptr_t<host_information> information;
    service_lookup_t(information);
    const char* text = information->get_text();
    append(text ? text : "");
  }
  append("/preferences/" + GuidText(PageGuid) + "/" + get_name());
  return true;
}

preferences_page_instance* preferences_page_myimpl::instantiate(HWND parent, page_callback* callback) {
  return InstantiatePreferencesPage(parent, callback);
}
