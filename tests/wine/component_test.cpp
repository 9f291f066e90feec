// The component library as the player loads it: export, service list, configuration
// through the client object, and failures crossing back into the host.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/boundary/boundary.h"
#include "host/player/interfaces/component_services.h"
#include "host/player/string_impl.h"
#include "simulator/component_host.h"
#include "simulator/memory_streams.h"
#include "wine_test_support.h"

namespace {

class LoadedComponent : public ::testing::Test {
 protected:
  void SetUp() override { component_ = std::make_unique<loaded_component>(host_, ComponentPath()); }
  void TearDown() override { component_.reset(); }

  client_object& client() { return component_->client(); }

  componentversion* VersionService() {
    service_registry& api = host_.api();
    service_base* instance = nullptr;
    if (!api.create_instance(instance, api.find_class(componentversion::class_guid), 0)) return nullptr;
    return static_cast<componentversion*>(instance);
  }

  std::vector<uint8_t> Write() {
    memory_writer out;
    boundary::call([&] { client().config_write(&out, &abort_); });
    return out.bytes();
  }

  simulated_host host_;
  std::unique_ptr<loaded_component> component_;
  abort_flag abort_;
};

TEST_F(LoadedComponent, ExportAnswersTheSameClientEveryTime) {
  EXPECT_EQ(component_->entry()(&host_.api(), nullptr), &client());
  EXPECT_EQ(component_->entry()(&host_.api(), reinterpret_cast<void*>(0x1234)), &client());
  EXPECT_EQ(client().get_version(), 78u);
  EXPECT_FALSE(client().is_debug());
}

TEST_F(LoadedComponent, ServiceListRecordsHaveTheFixedLayout) {
  // table pointer, next record, pointer to the class GUID
  struct record {
    const void* table;
    const record* next;
    const GUID* cls;
  };
  std::vector<GUID> classes;
  for (auto* r = reinterpret_cast<const record*>(client().get_service_list()); r; r = r->next)
    classes.push_back(*r->cls);
  ASSERT_EQ(classes.size(), 3u);
  EXPECT_TRUE(classes[0] == preferences_page::class_guid);
  EXPECT_TRUE(classes[1] == initquit::class_guid);
  EXPECT_TRUE(classes[2] == componentversion::class_guid);
  EXPECT_EQ(component_->factories().size(), classes.size());
}

TEST_F(LoadedComponent, VersionServiceIsFoundThroughTheHost) {
  service_registry& api = host_.api();
  ASSERT_EQ(api.count_instances(api.find_class(componentversion::class_guid)), 1u);
  componentversion* instance = VersionService();
  ASSERT_NE(instance, nullptr);
  string8_impl text;
  boundary::call([&] { instance->get_file_name(text); });
  EXPECT_EQ(text.str(), "moxel_control.dll");
  service_base* other = &host_.playback();
  EXPECT_FALSE(instance->service_query(other, playback_control::class_guid));
  EXPECT_EQ(other, &host_.playback());
}

// A text value of the library's version resource, as the file's properties show it.
std::string VersionResourceText(const wchar_t* key) {
  const std::wstring file = ComponentPath();
  DWORD unused = 0;
  std::vector<BYTE> block(GetFileVersionInfoSizeW(file.c_str(), &unused));
  const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + key;
  wchar_t* value = nullptr;
  UINT length = 0;
  if (block.empty() || !GetFileVersionInfoW(file.c_str(), 0, DWORD(block.size()), block.data()) ||
      !VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
    return "<no value>";
  const std::wstring text(value);
  return std::string(text.begin(), text.end());
}

TEST_F(LoadedComponent, VersionServiceTextIsTheLibrarysVersionResource) {
  componentversion* instance = VersionService();
  ASSERT_NE(instance, nullptr);
  string8_impl text;
  boundary::call([&] { instance->get_component_version(text); });
  EXPECT_EQ(text.str(), "0.3");
  EXPECT_EQ(VersionResourceText(L"FileVersion"), text.str());
  EXPECT_EQ(VersionResourceText(L"ProductVersion"), text.str());
}

TEST_F(LoadedComponent, ConfigurationRoundTripGivesTheStoredBytes) {
  const std::vector<uint8_t> defaults = Write();
  ASSERT_EQ(defaults.size(), 144u);
  const uint8_t sensitivity[24] = {0x9D, 0xBF, 0xBD, 0x46, 0x8C, 0x9A, 0xCB, 0x48, 0xA5, 0xA1, 0xBC, 0x84,
                                   0x26, 0x5C, 0xC9, 0xCD, 0x04, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00};
  EXPECT_EQ(std::vector<uint8_t>(defaults.begin(), defaults.begin() + 24),
            std::vector<uint8_t>(sensitivity, sensitivity + 24));
  const uint8_t corner[24] = {0x72, 0x62, 0x25, 0x12, 0x78, 0x37, 0x9B, 0x4E, 0x83, 0xBE, 0xD0, 0x51,
                              0x47, 0x04, 0x7E, 0xEC, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  EXPECT_EQ(std::vector<uint8_t>(defaults.end() - 72, defaults.end() - 48), std::vector<uint8_t>(corner, corner + 24));

  std::vector<uint8_t> changed = defaults;
  changed[20] = 40;
  memory_reader in(changed);
  boundary::call([&] { client().config_read(&in, &abort_); });
  EXPECT_EQ(Write(), changed);
}

TEST_F(LoadedComponent, DamagedConfigurationReachesTheHostAsTypedException) {
  std::vector<uint8_t> bytes = Write();
  bytes.resize(bytes.size() - 2);  // ends inside the last entry's payload
  memory_reader in(bytes);
  try {
    boundary::call([&] { client().config_read(&in, &abort_); });
    FAIL() << "no exception";
  } catch (const quorbel_io::exception_io_data& error) {
    EXPECT_STREQ(error.what(), "Unsupported format or corrupted file");
  }
}

class failing_writer final : public stream_writer {
 public:
  void write(const void*, size_t, abort_callback*) override {
    boundary::serve([] { throw std::runtime_error("disk full"); });
  }
};

TEST_F(LoadedComponent, HostFailuresAndAbortsTravelBackThroughTheComponent) {
  failing_writer broken;
  try {
    boundary::call([&] { client().config_write(&broken, &abort_); });
    FAIL() << "no exception";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "disk full");
  }
  abort_.aborting = true;
  memory_writer out;
  try {
    boundary::call([&] { client().config_write(&out, &abort_); });
    FAIL() << "no exception";
  } catch (const quorbel_io::exception_aborted& error) {
    EXPECT_STREQ(error.what(), "User abort");
  }
}

TEST(FailureHandlers, SignalsAndAbortBecomeTheComponentsStructuredException) {
  const std::wstring dll = L"\"" + ComponentPath() + L"\"";
  EXPECT_EQ(RunChild(L"failure_probe.exe", dll + L" sigint"), 0x100u + 2);
  EXPECT_EQ(RunChild(L"failure_probe.exe", dll + L" sigterm"), 0x100u + 15);
  EXPECT_EQ(RunChild(L"failure_probe.exe", dll + L" abort"), 0x100u + 22);
}

TEST(FailureHandlers, StayInPlaceAfterASignalAndLeaveWithTheLibrary) {
  const std::wstring dll = L"\"" + ComponentPath() + L"\"";
  EXPECT_EQ(RunChild(L"failure_probe.exe", dll + L" reinstalled"), 0x201u);
  EXPECT_EQ(RunChild(L"failure_probe.exe", dll + L" unload"), 0x301u);
}

}  // namespace
