#include "host/player/player.h"

#include "host/boundary/boundary.h"
#include "host/boundary/exceptions.h"
#include "host/player/host_text.h"
#include "host/player/service_lookup.h"
#include "host/player/string_impl.h"

namespace player {
namespace {

// The provider and index of `command`; the resolver is given back before it answers.
bool FindCommand(const GUID& command, service_ptr_t<command_provider>& provider, uint32_t& index) {
  service_ptr_t<command_resolver> resolver;
  service_lookup_t(resolver);
  return boundary::call([&] { return resolver->find_command(&command, provider.receive(), index); }) && provider;
}

// Asks `object` for its interface T; false when it has none.
template <class T>
bool QueryInterface(service_base& object, service_ptr_t<T>& out) {
  service_ptr_t<service_base> found;
  if (!boundary::call([&] { return object.service_query(found.receive(), T::class_guid); }) || !found) return false;
  out.attach(static_cast<T*>(found.detach()));
  return true;
}

// Enumerates the instances of a service class by index until the player yields none, keeping
// one reference at a time. A player that reports an instance but hands back none ends it too.
template <class T, class Visit>
void ForEachInstance(Visit visit) {
  if (!g_host_api) throw exception_service_not_found();
  host_api_object& api = *g_host_api;
  const service_class_handle cls = boundary::call([&] { return api.find_class(T::class_guid); });
  service_ptr_t<service_base> instance;
  const auto next = [&](uint32_t index) {
    return boundary::call([&] { return api.create_instance(instance.receive(), cls, index); }) && instance;
  };
  for (uint32_t index = 0; next(index); ++index) visit(*static_cast<T*>(instance.get()));
}

std::wstring Wide(const string8_impl& text) { return WideFromHost(text.get_ptr(), text.get_length()); }

}  // namespace

bool Connected() { return g_host_api != nullptr; }

float Volume() {
  service_ptr_t<playback_control> playback;
  service_lookup_t(playback);
  return boundary::call([&] { return playback->get_volume(); });
}

void SetVolume(float db) {
  service_ptr_t<playback_control> playback;
  service_lookup_t(playback);
  boundary::call([&] { playback->set_volume(db); });
}

void RunCommand(const GUID& command) {
  service_ptr_t<command_provider> provider;
  uint32_t index = 0;
  if (FindCommand(command, provider, index)) boundary::call([&] { provider->execute(index, nullptr); });
}

bool CommandName(const GUID& command, std::wstring& name) {
  service_ptr_t<command_provider> provider;
  uint32_t index = 0;
  if (!FindCommand(command, provider, index)) return false;
  string8_impl text;
  uint32_t flags = 0;
  if (!boundary::call([&] { return provider->get_display(index, text, flags); })) return false;
  name = Wide(text);
  return true;
}

// The listener the player holds. Every event but the volume change is ignored; counted
// references handed with events are released.
struct volume_listener::callback final : play_callback {
  explicit callback(volume_observer& observer) : observer(observer) {}

  void on_playback_starting(uint32_t, uint32_t) override {}
  void on_playback_new_track(service_base* track) override { Release(track); }
  void on_playback_stop(uint32_t) override {}
  void on_playback_seek(double) override {}
  void on_playback_pause(uint32_t) override {}
  void on_playback_edited(service_base* track) override { Release(track); }
  void on_playback_dynamic_info(const void*) override {}
  void on_playback_dynamic_info_track(const void*) override {}
  void on_playback_time(double) override {}
  void on_volume_change(float) override {
    boundary::serve([&] { observer.OnVolumeChange(); });
  }

  static void Release(service_base* reference) {
    if (reference) reference->service_release();
  }

  volume_observer& observer;
};

volume_listener::volume_listener(volume_observer& observer) : callback_(std::make_unique<callback>(observer)) {
  service_ptr_t<play_callback_manager> manager;
  service_lookup_t(manager);
  boundary::call([&] { manager->register_callback(callback_.get(), 0xFFFFFFFF, false); });
}

volume_listener::~volume_listener() {
  // A destructor cannot report a failure; a player that has lost its manager since the
  // registration has no list left to take this listener out of.
  try {
    service_ptr_t<play_callback_manager> manager;
    service_lookup_t(manager);
    boundary::call([&] { manager->unregister_callback(callback_.get()); });
  } catch (...) {
  }
}

void ForEachMenuGroup(visitor<menu_group_item> visit) {
  ForEachInstance<menu_group>([&](menu_group& group) {
    menu_group_item found{};
    boundary::call([&] {
      group.get_guid(&found.guid);
      group.get_parent(&found.parent);
    });
    found.sortPriority = boundary::call([&] { return group.get_sort_priority(); });
    service_ptr_t<menu_group_popup> popup;
    found.isPopup = QueryInterface(group, popup);
    if (found.isPopup) {
      string8_impl text;
      boundary::call([&] { popup->get_display_string(text); });
      found.name = Wide(text);
    }
    visit(found);
  });
}

void ForEachMenuCommand(visitor<menu_command_item> visit) {
  ForEachInstance<command_provider>([&](command_provider& provider) {
    const uint32_t count = boundary::call([&] { return provider.get_command_count(); });
    GUID parent;
    boundary::call([&] { provider.get_parent(&parent); });
    // The priority is the provider's, the same for each of its commands.
    const uint32_t sortPriority = boundary::call([&] { return provider.get_sort_priority(); });
    for (uint32_t i = 0; i < count; ++i) {
      menu_command_item found{};
      found.parent = parent;
      found.sortPriority = sortPriority;
      boundary::call([&] { provider.get_command(&found.guid, i); });
      string8_impl text;
      uint32_t flags = 0;
      if (!boundary::call([&] { return provider.get_display(i, text, flags); })) continue;
      found.name = Wide(text);
      visit(found);
    }
  });
}

}  // namespace player
