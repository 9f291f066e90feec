#include "simulator/main_menu.h"

#include "host/player/string_impl.h"
#include "simulator/playback.h"
#include "simulator/service_registry.h"

bool menu_command_provider::get_display(uint32_t index, string_base& out, uint32_t& flags) {
  if (index >= commands_.size() || !commands_[index].shown) return false;
  out.set_string(commands_[index].name.c_str(), commands_[index].name.size());
  flags = 0;
  return true;
}

void menu_command_provider::execute(uint32_t index, service_base*) {
  if (index >= commands_.size()) return;
  log_.push_back(commands_[index].name);
  if (commands_[index].action) commands_[index].action();
}

bool command_finder::find_command(const GUID* command, command_provider*& out, uint32_t& index) {
  const service_class_handle providers = api_.find_class(command_provider::class_guid);
  service_base* instance = nullptr;
  for (uint32_t n = 0; api_.create_instance(instance, providers, n); ++n) {
    auto* provider = static_cast<command_provider*>(instance);
    const uint32_t count = provider->get_command_count();
    for (uint32_t i = 0; i < count; ++i) {
      GUID guid;
      if (*provider->get_command(&guid, i) == *command) {
        if (out) out->service_release();
        out = provider;  // hands over the reference create_instance took
        index = i;
        return true;
      }
    }
  }
  if (instance) instance->service_release();
  return false;
}

namespace {

// Commands and groups of the simulated menu carry GUIDs of this family, numbered.
GUID MenuGuid(uint32_t n) {
  return GUID{0x5EED0000u + n, 0x51A7, 0x4D0C, {0x9E, 0x11, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}};
}

constexpr GUID Root{};
constexpr GUID PlayOrPause = {0x90500F09, 0xF16F, 0x415E, {0xA0, 0x47, 0xAC, 0x50, 0x45, 0xC9, 0x5F, 0xFE}};
constexpr GUID Previous = {0x059C4566, 0x4708, 0x4EBF, {0x81, 0x39, 0x6A, 0x8E, 0xA5, 0xA9, 0xDF, 0xC8}};
constexpr GUID Stop = {0x13C17E8D, 0x0D6F, 0x41A4, {0xB2, 0x4A, 0x59, 0x37, 0x10, 0x43, 0xE9, 0x25}};
constexpr GUID Next = {0xE58895A0, 0xA2F0, 0x45B6, {0x87, 0x99, 0x14, 0x40, 0xE4, 0xDB, 0x72, 0x84}};
constexpr GUID Random = {0x8DEBC44E, 0xEDA2, 0x48D4, {0x86, 0x96, 0x31, 0xFC, 0x29, 0xD1, 0xF3, 0x83}};

struct group_entry {
  uint32_t id;
  uint32_t parent;  // 0: the top of the main menu
  uint32_t priority;
  const char* popupName;  // empty: a section that is not a popup
};

struct command_entry {
  uint32_t group;
  const char* name;
  GUID guid;  // all-zero: numbered from the menu's own family
};

const group_entry Groups[] = {
    {1, 0, 0, "File"},    {2, 0, 1, "Edit"}, {3, 0, 2, "View"},   {4, 0, 3, "Playback"},
    {5, 0, 4, "Library"}, {6, 0, 5, "Help"}, {7, 2, 10, "Sort"},  {8, 3, 10, "Visualizations"},
    {9, 4, 0, ""},        {10, 4, 1, ""},    {11, 4, 2, "Order"}, {12, 1, 0, ""},
};

const command_entry Commands[] = {
    {12, "Open...", {}},
    {12, "Add files...", {}},
    {12, "Add folder...", {}},
    {12, "Add location...", {}},
    {1, "New playlist", {}},
    {1, "Load playlist...", {}},
    {1, "Save playlist...", {}},
    {1, "Preferences", {}},
    {1, "Exit", {}},
    {2, "Undo", {}},
    {2, "Redo", {}},
    {2, "Clear", {}},
    {2, "Select all", {}},
    {2, "Remove duplicates", {}},
    {2, "Remove dead items", {}},
    {7, "Sort by artist", {}},
    {7, "Sort by title", {}},
    {7, "Randomize", {}},
    {3, "Always on top", {}},
    {3, "Console", {}},
    {3, "Playlist manager", {}},
    {8, "Spectrum", {}},
    {8, "Oscilloscope", {}},
    {8, "Peak meter", {}},
    {9, "Stop", Stop},
    {9, "Pause", {}},
    {9, "Play", {}},
    {9, "Play or pause", PlayOrPause},
    {9, "Previous", Previous},
    {9, "Next", Next},
    {9, "Random", Random},
    {10, "Volume up", {}},
    {10, "Volume down", {}},
    {10, "Mute", {}},
    {11, "Default", {}},
    {11, "Repeat (playlist)", {}},
    {11, "Repeat (track)", {}},
    {11, "Shuffle (tracks)", {}},
    {4, "Stop after current", {}},
    {4, "Cursor follows playback", {}},
    {5, "Search", {}},
    {5, "Album list", {}},
    {5, "Rescan library", {}},
    {5, "Configure", {}},
    {6, "Contents", {}},
    {6, "About", {}},
};

std::function<void()> VolumeAction(const std::string& name, simulated_playback& playback) {
  if (name == "Volume up") return [&playback] { playback.set_volume(playback.get_volume() + 1.0f); };
  if (name == "Volume down") return [&playback] { playback.set_volume(playback.get_volume() - 1.0f); };
  if (name == "Mute") return [&playback] { playback.set_volume(simulated_playback::MinimumDb); };
  return nullptr;
}

}  // namespace

void InstallMainMenu(service_registry& registry, command_log& log, simulated_playback& playback) {
  uint32_t next = 100;
  for (const group_entry& group : Groups) {
    registry.Add(menu_group::class_guid,
                 new menu_group_service(MenuGuid(group.id), group.parent ? MenuGuid(group.parent) : Root,
                                        group.priority, group.popupName));
    std::vector<menu_command> commands;
    for (const command_entry& entry : Commands) {
      if (entry.group != group.id) continue;
      const GUID guid = guid_is_null(entry.guid) ? MenuGuid(next++) : entry.guid;
      commands.push_back({guid, entry.name, true, VolumeAction(entry.name, playback)});
    }
    if (group.id == 6) commands.push_back({MenuGuid(next++), "Dump internal state", false, nullptr});
    registry.Add(command_provider::class_guid,
                 new menu_command_provider(MenuGuid(group.id), group.priority, std::move(commands), log));
  }
  registry.Add(command_resolver::class_guid, new command_finder(registry));
}

std::string CommandName(host_api_object& api, const GUID& command) {
  const service_class_handle providers = api.find_class(command_provider::class_guid);
  service_base* instance = nullptr;
  std::string name;
  for (uint32_t n = 0; name.empty() && api.create_instance(instance, providers, n); ++n) {
    auto* provider = static_cast<command_provider*>(instance);
    for (uint32_t i = 0; i < provider->get_command_count(); ++i) {
      string8_impl text;
      uint32_t flags = 0;
      GUID guid;
      if (*provider->get_command(&guid, i) == command && provider->get_display(i, text, flags)) name = text.str();
    }
  }
  if (instance) instance->service_release();
  return name;
}
