// The simulated player's main menu: groups, command providers and the command resolver.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/player/interfaces/host_services.h"
#include "simulator/counted_service.h"

class service_registry;
class simulated_playback;

struct menu_command {
  GUID guid;
  std::string name;
  bool shown = true;             // false: the provider declines to display it
  std::function<void()> action;  // what the command does besides being logged
};

// The names of the commands the host executed, in order.
using command_log = std::vector<std::string>;

class menu_command_provider final : public counted_service_t<command_provider> {
 public:
  menu_command_provider(const GUID& parent, uint32_t priority, std::vector<menu_command> commands, command_log& log)
      : parent_(parent), priority_(priority), commands_(std::move(commands)), log_(log) {}

  uint32_t get_command_count() override { return uint32_t(commands_.size()); }
  GUID* get_command(GUID* result, uint32_t index) override {
    return &(*result = index < commands_.size() ? commands_[index].guid : GUID{});
  }
  GUID* get_parent(GUID* result) override { return &(*result = parent_); }
  uint32_t get_sort_priority() override { return priority_; }
  bool get_display(uint32_t index, string_base& out, uint32_t& flags) override;
  void execute(uint32_t index, service_base* context) override;

  const std::vector<menu_command>& commands() const { return commands_; }

 private:
  GUID parent_;
  uint32_t priority_;
  std::vector<menu_command> commands_;
  command_log& log_;
};

// A menu group; one with a name is a popup and answers the popup interface too.
class menu_group_service final : public counted_service_t<menu_group_popup> {
 public:
  menu_group_service(const GUID& guid, const GUID& parent, uint32_t priority, std::string popupName)
      : guid_(guid), parent_(parent), priority_(priority), name_(std::move(popupName)) {}

  GUID* get_guid(GUID* result) override { return &(*result = guid_); }
  GUID* get_parent(GUID* result) override { return &(*result = parent_); }
  uint32_t get_sort_priority() override { return priority_; }
  void get_display_string(string_base& out) override { out.set_string(name_.c_str(), name_.size()); }

 private:
  bool Answers(const GUID& guid) const override {
    return guid == menu_group::class_guid || (!name_.empty() && guid == menu_group_popup::class_guid);
  }

  GUID guid_;
  GUID parent_;
  uint32_t priority_;
  std::string name_;
};

// Finds a command among all command providers the host API object lists.
class command_finder final : public counted_service_t<command_resolver> {
 public:
  explicit command_finder(host_api_object& api) : api_(api) {}
  bool find_command(const GUID* command, command_provider*& out, uint32_t& index) override;

 private:
  host_api_object& api_;
};

// The player's own menu: File, Edit, View, Playback, Library and Help with a few dozen
// commands, the default bindings' commands among them. The volume commands change the
// volume of `playback`.
void InstallMainMenu(service_registry& registry, command_log& log, simulated_playback& playback);

// The name the menu gives a command, or "" when it has none.
std::string CommandName(host_api_object& api, const GUID& command);
