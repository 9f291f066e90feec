#include "component/componentversion.h"

#include <cstring>

#include "component/component_entry.h"
#include "host/boundary/boundary.h"
#include "resources/version.h"

namespace {
// Hands the host's text object a text, both ways through the boundary's gates.
void set_text(string_base& out, const char* text, size_t length) {
  boundary::serve([&] { boundary::call([&] { out.set_string(text, length); }); });
}
void set_text(string_base& out, const char* text) { set_text(out, text, std::strlen(text)); }
}  // namespace

void componentversion_myimpl::get_file_name(string_base& out) {
  const std::string& name = ReceivedFileName();
  set_text(out, name.c_str(), name.size());
}
void componentversion_myimpl::get_component_name(string_base& out) { set_text(out, "moxel control"); }
void componentversion_myimpl::get_component_version(string_base& out) { set_text(out, COMPONENT_VERSION_TEXT); }
void componentversion_myimpl::get_about_message(string_base& out) { set_text(out, "moxel control plugin by kestrin"); }
