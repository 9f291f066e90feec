#include <gtest/gtest.h>

#include <new>
#include <utility>

#include "component/component_entry.h"
#include "component/componentversion.h"
#include "component/service_factory.h"
#include "host/boundary/exceptions.h"
#include "host/player/interfaces/component_services.h"
#include "host/player/service_lookup.h"
#include "host/player/string_impl.h"
#include "simulator/simulated_host.h"

namespace {

// The library registers its factories at load; this build of the window-free code has this one.
service_factory_single_t<componentversion_myimpl> g_version_factory;

class ServiceLookup : public ::testing::Test {
 protected:
  void SetUp() override { g_host_api = &host_.api(); }
  void TearDown() override { g_host_api = nullptr; }
  simulated_host host_;
};

TEST_F(ServiceLookup, FoundServiceReplacesWhatTheSlotHeld) {
  service_ptr_t<playback_control> first, second;
  service_lookup_t(first);
  service_lookup_t(second);
  EXPECT_EQ(first.get(), &host_.playback());
  EXPECT_EQ(host_.playback().reference_count(), 3);
  service_base* slot = first.get();
  first.get()->service_add_ref();
  service_lookup(slot, host_information::class_guid);  // releases the playback reference it held
  EXPECT_EQ(host_.playback().reference_count(), 3);
  slot->service_release();
}

TEST_F(ServiceLookup, NoneOrSeveralInstancesThrowAndLeaveTheSlotUntouched) {
  service_base* slot = &host_.playback();
  const GUID absent = {0xABCDEF01, 1, 2, {3}};
  try {
    service_lookup(slot, absent);
    FAIL();
  } catch (const exception_service_not_found& error) {
    EXPECT_STREQ(error.what(), "Service not found");
  }
  host_.api().Add(host_information::class_guid, new host_info_service("second"));
  try {
    service_lookup(slot, host_information::class_guid);
    FAIL();
  } catch (const exception_service_duplicated& error) {
    EXPECT_STREQ(error.what(), "Service duplicated");
  }
  EXPECT_EQ(slot, &host_.playback());
  EXPECT_EQ(host_.playback().reference_count(), 1);
}

// A host that counts one instance but hands none back.
class empty_handed_api final : public host_api_object {
 public:
  service_class_handle find_class(const GUID&) override { return nullptr; }
  bool create_instance(service_base*&, service_class_handle, uint32_t) override { return false; }
  uint32_t count_instances(service_class_handle) override { return 1; }
};

TEST(ServiceLookupFaults, HostThatHandsBackNothingCountsAsNotFound) {
  empty_handed_api api;
  g_host_api = &api;
  service_ptr_t<playback_control> playback;
  EXPECT_THROW(service_lookup_t(playback), exception_service_not_found);
  EXPECT_FALSE(playback);
  g_host_api = nullptr;
}

TEST(ComponentEntry, ExportKeepsOneClientAndTheLatestArguments) {
  simulated_host host;
  client_object* first = quorbel_get_interface(nullptr, nullptr);
  client_object* second = quorbel_get_interface(&host.api(), nullptr);
  EXPECT_EQ(first, second);
  EXPECT_EQ(g_host_api, &host.api());
  EXPECT_EQ(first->get_version(), 78u);
  EXPECT_FALSE(first->is_debug());
  g_host_api = nullptr;
}

TEST(ComponentEntry, FactoriesHandOutTheirSingleServiceAndReleaseTheSlot) {
  client_object* client = quorbel_get_interface(nullptr, nullptr);
  service_factory_base* version = nullptr;
  for (service_factory_base* f = client->get_service_list(); f; f = f->get_next())
    if (f->get_class_guid() == componentversion::class_guid) version = f;
  ASSERT_NE(version, nullptr);

  simulated_host host;
  service_base* slot = &host.playback();
  host.playback().service_add_ref();
  version->instance_create(slot);
  EXPECT_EQ(host.playback().reference_count(), 1);  // the previous content was released
  service_base* again = nullptr;
  version->instance_create(again);
  EXPECT_EQ(slot, again);

  service_base* queried = nullptr;
  EXPECT_TRUE(slot->service_query(queried, componentversion::class_guid));
  EXPECT_EQ(queried, slot);
  service_base* untouched = &host.playback();
  EXPECT_FALSE(slot->service_query(untouched, playback_control::class_guid));
  EXPECT_EQ(untouched, &host.playback());
}

TEST(ComponentEntry, VersionServiceNamesTheFileOfTheLatestTexts) {
  client_object* client = quorbel_get_interface(nullptr, nullptr);
  service_base* instance = nullptr;
  for (service_factory_base* f = client->get_service_list(); f; f = f->get_next())
    if (f->get_class_guid() == componentversion::class_guid) f->instance_create(instance);
  auto* version = static_cast<componentversion*>(instance);
  string8_impl text("old");
  client->set_texts("C:\\player\\first.dll", "first.dll");
  client->set_texts("C:\\player\\second.dll", "moxel_control.dll");
  version->get_file_name(text);
  EXPECT_EQ(text.str(), "moxel_control.dll");
  version->get_component_name(text);
  EXPECT_EQ(text.str(), "moxel control");
  version->get_component_version(text);
  EXPECT_EQ(text.str(), "0.3");
  version->get_about_message(text);
  EXPECT_EQ(text.str(), "moxel control plugin by kestrin");
  client->set_texts(nullptr, nullptr);
  version->get_file_name(text);
  EXPECT_EQ(text.str(), "");
}

// Handles in frames that a structured-exception guard abandons: their destructors never run,
// so the guard releases what they held and the thread's other handles carry on.
TEST(OwningHandles, ReferencesOfAbandonedFramesAreReleasedAndForgotten) {
  simulated_host host;
  simulated_playback& playback = host.playback();
  auto outer = service_ptr_t<playback_control>::share(&playback);
  using handle = service_ptr_t<playback_control>;
  auto* frames = new unsigned char[4 * sizeof(handle)];  // stands in for the abandoned stack
  new (frames) handle(handle::share(&playback));
  new (frames + sizeof(handle)) handle();
  auto* moved = new (frames + 2 * sizeof(handle)) handle(handle::share(&playback));
  new (frames + 3 * sizeof(handle)) handle(std::move(*moved));
  auto inner = handle::share(&playback);  // newer than the frames, outside them
  EXPECT_EQ(playback.reference_count(), 5);
  service_handle_link::release_abandoned(frames, frames + 4 * sizeof(handle));
  EXPECT_EQ(playback.reference_count(), 3);  // the host's, outer and inner
  delete[] frames;                           // a handle still linked into the freed frames would be touched below
  inner.reset();
  { auto later = handle::share(&playback); }
  service_handle_link::release_abandoned(&playback, &playback + 1);
  EXPECT_EQ(playback.reference_count(), 2);
}

}  // namespace
