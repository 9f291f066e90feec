#include "host/boundary.h"
#include "host/service_lookup.h"
#include "host/string_impl.h"
#include "preferences/host_text.h"
#include "preferences/labels.h"

std::wstring ActionLabel(const GUID& action) {
  service_ptr_t<command_provider> provider;
  uint32_t index = 0;
  bool found;
  {
    service_ptr_t<command_resolver> resolver;
    service_lookup_t(resolver);
    found = boundary::call([&] { return resolver->find_command(&action, provider.receive(), index); });
  }
  string8_impl text;
  uint32_t flags = 0;
  if (found && provider && boundary::call([&] { return provider->get_display(index, text, flags); }))
    return WideFromHost(text.get_ptr(), text.get_length());
  return guid_is_null(action) ? L"<not set>" : L"<unknown>";
}
