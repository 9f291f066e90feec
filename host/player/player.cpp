#include "host/player/player.h"

#include "host/boundary/boundary.h"
#include "host/player/host_text.h"
#include "host/player/service_lookup.h"
#include "host/player/string_impl.h"

namespace player {

failure::failure(const char* text) noexcept : text_{} {
  for (size_t i = 0; text[i] && i + 1 < sizeof text_; ++i) text_[i] = text[i];
}

namespace {

// Continues the exception being handled (the player's, carried over by the boundary, or a
// lookup's) as this layer's one failure; called inside a catch block only.
[[noreturn]] void ThrowAsFailure() {
  try {
    throw;
  } catch (const failure&) {
    throw;
  } catch (const std::exception& error) {
    // The player's own object stays inside: a failure that leaves through an operation the
    // player called goes back to it as the player raised it.
    std::throw_with_nested(failure(error.what()));
  }
}

// One call into the player.
template <class Body>
auto Call(Body&& call) -> decltype(call()) {
  try {
    return boundary::call(call);
  } catch (...) {
    ThrowAsFailure();
  }
}

// The player's one instance of the service T.
template <class T>
service_ptr_t<T> Lookup() {
  service_ptr_t<T> found;
  try {
    service_lookup_t(found);
  } catch (...) {
    ThrowAsFailure();
  }
  return found;
}

// The provider and index of `command`; the resolver is given back before it answers.
bool FindCommand(const GUID& command, service_ptr_t<command_provider>& provider, uint32_t& index) {
  const service_ptr_t<command_resolver> resolver = Lookup<command_resolver>();
  return Call([&] { return resolver->find_command(&command, provider.receive(), index); }) && provider;
}

// Asks `object` for its interface T; false when it has none.
template <class T>
bool QueryInterface(service_base& object, service_ptr_t<T>& out) {
  service_ptr_t<service_base> found;
  if (!Call([&] { return object.service_query(found.receive(), T::class_guid); }) || !found) return false;
  out.attach(static_cast<T*>(found.detach()));
  return true;
}

// Enumerates the instances of a service class by index until the player yields none, keeping
// one reference at a time. A player that reports an instance but hands back none ends it too.
template <class T, class Visit>
void ForEachInstance(Visit visit) {
  if (!g_host_api) throw failure("Service not found");  // the lookup's own words
  host_api_object& api = *g_host_api;
  const service_class_handle cls = Call([&] { return api.find_class(T::class_guid); });
  service_ptr_t<service_base> instance;
  const auto next = [&](uint32_t index) {
    return Call([&] { return api.create_instance(instance.receive(), cls, index); }) && instance;
  };
  for (uint32_t index = 0; next(index); ++index) visit(*static_cast<T*>(instance.get()));
}

std::wstring Wide(const string8_impl& text) { return WideFromHost(text.get_ptr(), text.get_length()); }

}  // namespace

bool connected() { return g_host_api != nullptr; }

float volume() {
  const service_ptr_t<playback_control> playback = Lookup<playback_control>();
  return Call([&] { return playback->get_volume(); });
}

void set_volume(float db) {
  const service_ptr_t<playback_control> playback = Lookup<playback_control>();
  Call([&] { playback->set_volume(db); });
}

bool run_command(const GUID& command) {
  service_ptr_t<command_provider> provider;
  uint32_t index = 0;
  if (!FindCommand(command, provider, index)) return false;
  Call([&] { provider->execute(index, nullptr); });
  return true;
}

std::optional<std::wstring> command_name(const GUID& command) {
  service_ptr_t<command_provider> provider;
  uint32_t index = 0;
  if (!FindCommand(command, provider, index)) return std::nullopt;
  string8_impl text;
  uint32_t flags = 0;
  if (!Call([&] { return provider->get_display(index, text, flags); })) return std::nullopt;
  return Wide(text);
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
    boundary::serve([&] { observer.on_volume_change(); });
  }

  static void Release(service_base* reference) {
    if (reference) reference->service_release();
  }

  volume_observer& observer;
};

volume_listener::volume_listener(volume_observer& observer) : callback_(std::make_unique<callback>(observer)) {
  const service_ptr_t<play_callback_manager> manager = Lookup<play_callback_manager>();
  Call([&] { manager->register_callback(callback_.get(), 0xFFFFFFFF, false); });
}

volume_listener::~volume_listener() {
  // A destructor cannot report a failure; a player that has lost its manager since the
  // registration has no list left to take this listener out of.
  try {
    const service_ptr_t<play_callback_manager> manager = Lookup<play_callback_manager>();
    Call([&] { manager->unregister_callback(callback_.get()); });
  } catch (...) {
  }
}

void for_each_menu_group(visitor<menu_group_item> visit) {
  ForEachInstance<menu_group>([&](menu_group& group) {
    menu_group_item found{};
    Call([&] {
      group.get_guid(&found.guid);
      group.get_parent(&found.parent);
    });
    found.sort_priority = Call([&] { return group.get_sort_priority(); });
    service_ptr_t<menu_group_popup> popup;
    found.is_popup = QueryInterface(group, popup);
    if (found.is_popup) {
      string8_impl text;
      Call([&] { popup->get_display_string(text); });
      found.name = Wide(text);
    }
    visit(found);
  });
}

void for_each_menu_command(visitor<menu_command_item> visit) {
  ForEachInstance<command_provider>([&](command_provider& provider) {
    const uint32_t count = Call([&] { return provider.get_command_count(); });
    GUID parent;
    Call([&] { provider.get_parent(&parent); });
    // The priority is the provider's, the same for each of its commands.
    const uint32_t sortPriority = Call([&] { return provider.get_sort_priority(); });
    for (uint32_t i = 0; i < count; ++i) {
      menu_command_item found{};
      found.parent = parent;
      found.sort_priority = sortPriority;
      Call([&] { provider.get_command(&found.guid, i); });
      string8_impl text;
      uint32_t flags = 0;
      if (!Call([&] { return provider.get_display(i, text, flags); })) continue;
      found.name = Wide(text);
      visit(found);
    }
  });
}

}  // namespace player
