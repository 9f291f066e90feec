// Everything the simulated player offers a component: its API object with the playback
// control, play callback manager, main menu, command resolver and host information.
#pragma once

#include <string>

#include "simulator/main_menu.h"
#include "simulator/playback.h"
#include "simulator/service_registry.h"

class host_info_service final : public counted_service_t<host_information> {
 public:
  explicit host_info_service(std::string text) : text_(std::move(text)) {}
  const char* get_text() override { return text_.c_str(); }

 private:
  std::string text_;
};

class simulated_host {
 public:
  static constexpr const char* InformationText = "quorbel 2.1 (simulated)";
  static constexpr float InitialVolumeDb = -10.0f;

  simulated_host();
  simulated_host(const simulated_host&) = delete;
  simulated_host& operator=(const simulated_host&) = delete;

  service_registry& api() { return registry_; }
  simulated_playback& playback() { return *playback_; }
  play_callback_registry& play_callbacks() { return *callbacks_; }
  command_log& executed() { return executed_; }

 private:
  command_log executed_;
  service_registry registry_;
  play_callback_registry* callbacks_;
  simulated_playback* playback_;
};
