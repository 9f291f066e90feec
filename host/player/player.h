// What the component's features ask of the player, in their own terms. Each operation looks
// up the player's services it needs, calls them through the boundary's gates and gives every
// reference back before it returns. A failing player call throws: the player's own failure,
// or exception_service_not_found when the player offers no such service (or has not handed
// its services over yet).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "host/player/interfaces/guid.h"

namespace player {

// Whether the player has handed its services over.
bool Connected();

// The playback volume in dB.
float Volume();
void SetVolume(float db);

// Runs the main-menu command `command`; nothing happens when the player knows none by it.
void RunCommand(const GUID& command);

// The name the player shows for `command`; false when it names none.
bool CommandName(const GUID& command, std::wstring& name);

// Hears of the player's volume changes.
class volume_observer {
 public:
  virtual void OnVolumeChange() = 0;

 protected:
  ~volume_observer() = default;
};

// Passes every volume change the player reports on to `observer` for as long as it exists.
class volume_listener {
 public:
  // Registers with the player; throws when the player cannot take listeners.
  explicit volume_listener(volume_observer& observer);
  ~volume_listener();
  volume_listener(const volume_listener&) = delete;
  volume_listener& operator=(const volume_listener&) = delete;

 private:
  struct callback;
  std::unique_ptr<callback> callback_;
};

// One group of the player's main menu.
struct menu_group_item {
  GUID guid;
  GUID parent;
  uint32_t sortPriority;
  bool isPopup;       // shown as a popup of its own, under its name
  std::wstring name;  // a popup's name
};

// One command of the player's main menu that the player shows.
struct menu_command_item {
  GUID guid;
  GUID parent;
  uint32_t sortPriority;
  std::wstring name;
};

// Calls a function object with each item of a walk, without the walk knowing its type. Each
// item is made for the call, which may take what it keeps from it.
template <class Item>
class visitor {
 public:
  template <class Visit>
  visitor(Visit& visit)
      : context_(&visit), call_([](void* context, Item& item) { (*static_cast<Visit*>(context))(item); }) {}
  void operator()(Item& item) const { call_(context_, item); }

 private:
  void* context_;
  void (*call_)(void* context, Item& item);
};

// Walk the main menu's groups and commands in the player's order, one reference at a time.
void ForEachMenuGroup(visitor<menu_group_item> visit);
void ForEachMenuCommand(visitor<menu_command_item> visit);

}  // namespace player
