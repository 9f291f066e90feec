#include "simulator/component_host.h"

#include <stdexcept>

namespace {
std::string Narrow(const std::wstring& text) {
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string narrow(size_t(bytes > 0 ? bytes : 1), '\0');
  if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &narrow[0], bytes, nullptr, nullptr);
  narrow.resize(narrow.size() - 1);
  return narrow;
}
}  // namespace

std::string ComponentFileName(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return Narrow(slash == std::wstring::npos ? path : path.substr(slash + 1));
}

loaded_component::loaded_component(simulated_host& host, const std::wstring& path) : host_(host) {
  module_ = LoadLibraryW(path.c_str());
  if (!module_)
    throw std::runtime_error("cannot load " + Narrow(path) + " (error " + std::to_string(GetLastError()) + ")");
  entry_ = reinterpret_cast<quorbel_get_interface_proc>(
      reinterpret_cast<void*>(GetProcAddress(module_, "quorbel_get_interface")));
  if (!entry_) {
    FreeLibrary(module_);
    throw std::runtime_error(Narrow(path) + " exports no quorbel_get_interface");
  }
  client_ = entry_(&host.api(), nullptr);
  client_->set_texts(Narrow(path).c_str(), ComponentFileName(path).c_str());
  client_->set_flag(false);
  for (service_factory_base* factory = client_->get_service_list(); factory; factory = factory->get_next()) {
    factories_.push_back(factory);
    service_base* instance = nullptr;
    factory->instance_create(instance);
    host.api().Add(factory->get_class_guid(), instance);
  }
}

loaded_component::~loaded_component() {
  for (service_factory_base* factory : factories_) host_.api().Remove(factory->get_class_guid());
  FreeLibrary(module_);
}
