// The simulated player's configuration file: kept across sessions, replaced in one step,
// and never lost to a damaged read or a failed save.
#include <gtest/gtest.h>

#include <stdexcept>

#include "simulator/stored_config.h"
#include "simulator/player_session.h"
#include "simulator/profile_store.h"
#include "wine_test_support.h"

namespace {

constexpr GUID Sensitivity = {0x46BDBF9D, 0x9A8C, 0x48CB, {0xA5, 0xA1, 0xBC, 0x84, 0x26, 0x5C, 0xC9, 0xCD}};

TEST(ProfileStore, SaveReplacesTheFileAndAFailedSaveKeepsTheOldOne) {
  const std::wstring folder = FreshFolder(L"moxel_profile_store");
  const std::wstring path = folder + L"\\config.bin";
  EXPECT_TRUE(ReadProfileFile(path).empty());
  SaveProfileFile(path, {1, 2, 3});
  SaveProfileFile(path, {4, 5});
  EXPECT_EQ(ReadProfileFile(path), (std::vector<uint8_t>{4, 5}));

  // The temporary file cannot be made: the save fails and the stored file stays whole.
  ASSERT_TRUE(CreateDirectoryW((path + L".new").c_str(), nullptr));
  EXPECT_THROW(SaveProfileFile(path, {9, 9, 9}), std::runtime_error);
  EXPECT_EQ(ReadProfileFile(path), (std::vector<uint8_t>{4, 5}));
  RemoveDirectoryW((path + L".new").c_str());
}

TEST(PlayerSession, ConfigurationPersistsAcrossSessions) {
  const std::wstring profile = FreshFolder(L"moxel_profile_session");
  {
    player_session first(ComponentPath(), profile);
    EXPECT_EQ(first.LoadConfiguration(), "");
    first.SaveConfiguration();
  }
  std::vector<uint8_t> stored = ReadProfileFile(profile + L"\\" + player_session::ConfigurationName);
  ASSERT_EQ(stored.size(), 144u);  // six entries of 24 bytes
  stored[20] = 200;                // the sensitivity's value
  SaveProfileFile(profile + L"\\" + player_session::ConfigurationName, stored);
  player_session second(ComponentPath(), profile);
  EXPECT_EQ(second.LoadConfiguration(), "");
  second.SaveConfiguration();
  EXPECT_EQ(StoredValue(ReadProfileFile(second.configuration_path()), Sensitivity, 0), 200u);
}

TEST(PlayerSession, UnreadableConfigurationIsKeptAside) {
  const std::wstring profile = FreshFolder(L"moxel_profile_damaged");
  const std::wstring path = profile + L"\\" + player_session::ConfigurationName;
  const std::vector<uint8_t> damaged = {0x9D, 0xBF, 0xBD, 0x46, 0x8C, 0x9A, 0xCB, 0x48, 0xA5, 0xA1, 0xBC,
                                        0x84, 0x26, 0x5C, 0xC9, 0xCD, 0x04, 0x00, 0x00, 0x00, 0x80};
  SaveProfileFile(path, damaged);
  player_session session(ComponentPath(), profile);
  EXPECT_EQ(session.LoadConfiguration(), "Unsupported format or corrupted file");
  EXPECT_EQ(ReadProfileFile(path + L".unreadable"), damaged);
}

}  // namespace
