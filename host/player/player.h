// What the component's features ask of the player, in their own terms. Each operation looks
// up the player's services it needs, calls them through the boundary's gates and gives every
// reference back before it returns.
// - A call the player fails, or a service it does not offer (or has not handed over yet),
//   throws player::failure: the one error of this layer, which features may name and catch.
// - An operation that may find nothing answers std::optional (or whether it found anything).
// - Everything here is for the UI thread only: the player calls its services, and the
//   component's windows run, there.
// The names follow the player's own interfaces: lower case with underscores throughout.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "host/player/interfaces/guid.h"

namespace player {

// A call into the player failed; `what()` gives the player's message.
class failure : public std::exception {
 public:
  // Copies `text`, cut to fit: the player's object that held it is gone once this is thrown.
  explicit failure(const char* text) noexcept;
  const char* what() const noexcept override { return text_; }

 private:
  char text_[128];
};

// Whether the player has handed its services over.
bool connected();

// The playback volume in dB.
float volume();
void set_volume(float db);

// Runs the main-menu command `command`; false when the player knows none by it.
bool run_command(const GUID& command);

// The name the player shows for `command`; nothing when it names none.
std::optional<std::wstring> command_name(const GUID& command);

// Hears of the player's volume changes.
class volume_observer {
 public:
  virtual void on_volume_change() = 0;

 protected:
  ~volume_observer() = default;
};

// Passes every volume change the player reports on to `observer` for as long as it exists.
class volume_listener {
 public:
  // Registers with the player; throws failure when the player cannot take listeners.
  explicit volume_listener(volume_observer& observer);
  // Unregisters; a player that has lost its listener list since is not asked.
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
  uint32_t sort_priority;
  bool is_popup;      // shown as a popup of its own, under its name
  std::wstring name;  // a popup's name
};

// One command of the player's main menu that the player shows.
struct menu_command_item {
  GUID guid;
  GUID parent;
  uint32_t sort_priority;
  std::wstring name;
};

// Any callable taking an item of a walk, a temporary lambda included, held by reference for
// the walk's duration: one indirect call per item, and the walk needs no template.
template <class Item>
class visitor {
 public:
  template <class Visit>
  requires(!std::is_same_v<std::remove_cvref_t<Visit>, visitor> && std::is_invocable_v<Visit&, Item&>)
      visitor(Visit&& visit)
      : context_(const_cast<void*>(static_cast<const void*>(&visit))),
        call_([](void* context, Item& item) { (*static_cast<std::remove_reference_t<Visit>*>(context))(item); }) {}
  void operator()(Item& item) const { call_(context_, item); }

 private:
  void* context_;
  void (*call_)(void* context, Item& item);
};

// Walk the main menu's groups and commands in the player's order, one reference at a time.
// Each item is made for the call, which may take what it keeps from it.
void for_each_menu_group(visitor<menu_group_item> visit);
void for_each_menu_command(visitor<menu_command_item> visit);

}  // namespace player
