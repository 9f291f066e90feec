#include "host/componentversion.h"

#include <cstring>

#include "host/component_entry.h"
#include "host/version.h"

namespace {
void set_text(string_base& out, const char* text) { out.set_string(text, std::strlen(text)); }
}  // namespace

void componentversion_myimpl::get_file_name(string_base& out) {
  const std::string& name = ReceivedFileName();
  out.set_string(name.c_str(), name.size());
}
void componentversion_myimpl::get_component_name(string_base& out) { set_text(out, "moxel control"); }
void componentversion_myimpl::get_component_version(string_base& out) { set_text(out, COMPONENT_VERSION_TEXT); }
void componentversion_myimpl::get_about_message(string_base& out) { set_text(out, "moxel control plugin by kestrin"); }
