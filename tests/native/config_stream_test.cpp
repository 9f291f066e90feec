#include <gtest/gtest.h>

#include <stdexcept>

#include "host/config/config_vars.h"
#include "moxel/bindings.h"
#include "placement/placement.h"
#include "simulator/memory_streams.h"
#include "test_support.h"

namespace {

class ConfigStream : public ::testing::Test {
 protected:
  void SetUp() override { ResetConfiguration(); }
  void TearDown() override { ResetConfiguration(); }

  std::vector<uint8_t> Write() {
    memory_writer out;
    write_configuration(&out, &abort_);
    return out.bytes();
  }
  void Read(const std::vector<uint8_t>& bytes) {
    memory_reader in(bytes);
    read_configuration(&in, &abort_);
  }

  abort_flag abort_;
};

const std::vector<uint8_t> OneItem =
    Le32(RightClick) + Le32(ModifierCtrl) + Hex("A0 95 88 E5 F0 A2 B6 45 87 99 14 40 E4 DB 72 84");

TEST_F(ConfigStream, WritesDefaultsAsFourEntriesInListOrder) {
  EXPECT_EQ(Write(), Hex("9D BF BD 46 8C 9A CB 48 A5 A1 BC 84 26 5C C9 CD 04 00 00 00 80 00 00 00") +
                         Entry(FlagId, Le32(0)) + Entry(ListId, Le32(0)) +
                         Hex("72 62 25 12 78 37 9B 4E 83 BE D0 51 47 04 7E EC 04 00 00 00 00 00 00 00") +
                         Hex("0A 55 F1 3F EE 74 E3 4E BA AB 1A BC 21 8E 4F CB 04 00 00 00 00 00 00 00") +
                         Hex("1F 92 6F 4E 3A DF 50 4D B2 F5 AF 38 BF CC 39 EC 04 00 00 00 00 00 00 00"));
}

TEST_F(ConfigStream, WritesEachBindingFieldLittleEndian) {
  ApplyFirstRunDefaults();
  const std::vector<uint8_t> bytes = Write();
  ASSERT_EQ(bytes.size(), 24u + 24u + 240u + 3 * 24u);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 24, bytes.begin() + 48), Entry(FlagId, Le32(1)));
  // The list entry: GUID, N = 4 + 9 * 24, K = 9, then the first default binding.
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 48, bytes.begin() + 96),
            ListId + Le32(220) + Le32(9) + Le32(LeftClick) + Le32(0) +
                Hex("09 0F 50 90 6F F1 5E 41 A0 47 AC 50 45 C9 5F FE"));
}

TEST_F(ConfigStream, RoundTripRestoresEveryValue) {
  ApplyFirstRunDefaults();
  cfg_wheel_sensitivity = 400;
  cfg_mouse_actions.add_item({99, 0xFFFFFFFF, GUID{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}}});
  const std::vector<uint8_t> saved = Write();
  ResetConfiguration();
  Read(saved);
  EXPECT_EQ(Write(), saved);
  EXPECT_EQ(cfg_mouse_actions.get_count(), 10u);
  EXPECT_EQ(cfg_mouse_actions[9].mouseKey, 99u);  // stored as it came, unknown key and all
}

TEST_F(ConfigStream, EmptyStreamAndShortTailChangeNothing) {
  cfg_wheel_sensitivity = 7;
  Read({});
  Read(std::vector<uint8_t>(15, 0xAB));
  EXPECT_EQ(cfg_wheel_sensitivity, 7u);
  Read(Entry(SensitivityId, Le32(40)) + std::vector<uint8_t>(15, 0xCD));
  EXPECT_EQ(cfg_wheel_sensitivity, 40u);
  EXPECT_EQ(cfg_defaults_applied, 0u);
  EXPECT_EQ(cfg_mouse_actions.get_count(), 0u);
}

TEST_F(ConfigStream, UnknownEntriesAreSkippedWhole) {
  Read(Entry(Hex("11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF 00"), std::vector<uint8_t>(1000, 0x77)) +
       Entry(FlagId, Le32(1)));
  EXPECT_EQ(cfg_defaults_applied, 1u);
}

TEST_F(ConfigStream, ShortPayloadKeepsTheValueAndLongPayloadIsSkipped) {
  cfg_wheel_sensitivity = 55;
  Read(Entry(SensitivityId, Hex("01 02")) + Entry(FlagId, Le32(1)));
  EXPECT_EQ(cfg_wheel_sensitivity, 55u);
  EXPECT_EQ(cfg_defaults_applied, 1u);

  Read(Entry(SensitivityId, Le32(300) + Le32(0xFFFFFFFF)) + Entry(FlagId, Le32(5)));
  EXPECT_EQ(cfg_wheel_sensitivity, 300u);
  EXPECT_EQ(cfg_defaults_applied, 5u);
}

TEST_F(ConfigStream, ListThatClaimsMoreItemsThanItHoldsEndsEmpty) {
  cfg_mouse_actions.add_item({LeftClick, 0, GUID{}});
  Read(Entry(ListId, Le32(3) + OneItem + OneItem) + Entry(SensitivityId, Le32(9)));
  EXPECT_EQ(cfg_mouse_actions.get_count(), 0u);
  EXPECT_EQ(cfg_wheel_sensitivity, 9u);
}

TEST_F(ConfigStream, HugeItemCountIsTreatedAsTruncatedData) {
  // Far more items than the payload holds: rejected before any storage is set aside.
  Read(Entry(ListId, Le32(0xFFFFFFFF) + OneItem) + Entry(FlagId, Le32(1)));
  EXPECT_EQ(cfg_mouse_actions.get_count(), 0u);
  EXPECT_EQ(cfg_defaults_applied, 1u);
}

TEST_F(ConfigStream, ListEntryWithZeroItemsEmptiesTheList) {
  ApplyFirstRunDefaults();
  Read(Entry(ListId, Le32(0)));
  EXPECT_EQ(cfg_mouse_actions.get_count(), 0u);
  ApplyFirstRunDefaults();  // the stored flag still says the defaults were installed
  EXPECT_EQ(cfg_mouse_actions.get_count(), 0u);
}

TEST_F(ConfigStream, ListEntryWithTrailingBytesKeepsItsItems) {
  Read(Entry(ListId, Le32(1) + OneItem + Hex("DE AD")) + Entry(SensitivityId, Le32(12)));
  ASSERT_EQ(cfg_mouse_actions.get_count(), 1u);
  EXPECT_EQ(cfg_mouse_actions[0].modifiers, uint32_t(ModifierCtrl));
  EXPECT_EQ(cfg_mouse_actions[0].action.Data1, 0xE58895A0u);
  EXPECT_EQ(cfg_wheel_sensitivity, 12u);
}

TEST_F(ConfigStream, StreamEndingInsidePayloadFailsAfterEarlierEntries) {
  std::vector<uint8_t> bytes = Entry(SensitivityId, Le32(77)) + Entry(ListId, Le32(2) + OneItem + OneItem);
  bytes.resize(bytes.size() - 5);
  memory_reader in(bytes);
  EXPECT_THROW(read_configuration(&in, &abort_), quorbel_io::exception_io_data_truncation);
  EXPECT_EQ(cfg_wheel_sensitivity, 77u);
  EXPECT_EQ(cfg_mouse_actions.get_count(), 0u);
}

TEST_F(ConfigStream, StreamEndingInsideSizeFieldFails) {
  memory_reader in(SensitivityId + Hex("04 00"));
  EXPECT_THROW(read_configuration(&in, &abort_), quorbel_io::exception_io_data_truncation);
}

// The values a reader of the earlier three-variable layout takes from a stream: it knows
// those three GUIDs only, skips every other entry whole and stops at a short tail.
struct earlier_layout_values {
  uint32_t sensitivity = 128, flag = 0, bindings = 0;
  bool complete = false;  // the stream ended between entries
};

earlier_layout_values ReadAsEarlierLayout(const std::vector<uint8_t>& bytes) {
  earlier_layout_values values;
  auto le32 = [&](size_t at) {
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
  };
  size_t at = 0;
  while (bytes.size() - at >= 20) {
    const std::vector<uint8_t> id(bytes.begin() + at, bytes.begin() + at + 16);
    const uint32_t size = le32(at + 16);
    at += 20;
    if (bytes.size() - at < size) return values;
    if (size >= 4 && id == SensitivityId) values.sensitivity = le32(at);
    if (size >= 4 && id == FlagId) values.flag = le32(at);
    if (size >= 4 && id == ListId) values.bindings = le32(at);
    at += size;
  }
  values.complete = bytes.size() - at < 16;
  return values;
}

TEST_F(ConfigStream, LaterEntriesFollowTheOldOnesAndOutOfRangeValuesSurviveARoundTrip) {
  cfg_moxel_corner = 3;
  cfg_moxel_screen = 1;
  cfg_hide_for_fullscreen = 1;
  std::vector<uint8_t> bytes = Write();
  ASSERT_EQ(bytes.size(), 144u);
  EXPECT_EQ(std::vector<uint8_t>(bytes.end() - 72, bytes.end()),
            Entry(CornerId, Le32(3)) + Entry(ScreenId, Le32(1)) + Entry(FullscreenId, Le32(1)));

  // A corner or screen of a later version reads as the default one, and is written back as it came.
  Read(Entry(CornerId, Le32(9)) + Entry(ScreenId, Le32(7)));
  EXPECT_EQ(CornerFromStored(cfg_moxel_corner), ScreenCorner::TopLeft);
  EXPECT_EQ(ScreenFromStored(cfg_moxel_screen), ScreenChoice::Main);
  EXPECT_EQ(ScreenFromStored(1), ScreenChoice::OuterCorner);
  bytes = Write();
  EXPECT_EQ(std::vector<uint8_t>(bytes.end() - 72, bytes.end() - 48), Entry(CornerId, Le32(9)));
  EXPECT_EQ(std::vector<uint8_t>(bytes.end() - 48, bytes.end() - 24), Entry(ScreenId, Le32(7)));

  // A short entry keeps its value; the next entry is read.
  cfg_moxel_corner = 2;
  Read(Entry(CornerId, Hex("01")) + Entry(ScreenId, Hex("01 00")) + Entry(SensitivityId, Le32(33)));
  EXPECT_EQ(cfg_moxel_corner, 2u);
  EXPECT_EQ(cfg_moxel_screen, 7u);
  EXPECT_EQ(cfg_wheel_sensitivity, 33u);
}

TEST_F(ConfigStream, StreamsOfThisAndTheEarlierLayoutReadEachOther) {
  ApplyFirstRunDefaults();
  cfg_wheel_sensitivity = 250;
  cfg_moxel_corner = 1;
  const earlier_layout_values earlier = ReadAsEarlierLayout(Write());
  EXPECT_TRUE(earlier.complete);
  EXPECT_EQ(earlier.sensitivity, 250u);
  EXPECT_EQ(earlier.flag, 1u);
  EXPECT_EQ(earlier.bindings, 9u);

  // The earlier layout's stream, as it wrote it: the later variables stay at their defaults.
  ResetConfiguration();
  Read(Entry(SensitivityId, Le32(60)) + Entry(FlagId, Le32(1)) + Entry(ListId, Le32(1) + OneItem));
  EXPECT_EQ(cfg_moxel_corner, 0u);
  EXPECT_EQ(cfg_moxel_screen, 0u);
  EXPECT_EQ(cfg_hide_for_fullscreen, 0u);
  EXPECT_EQ(cfg_wheel_sensitivity, 60u);
  EXPECT_EQ(cfg_mouse_actions.get_count(), 1u);
  // The corner entry anywhere among the old ones.
  Read(Entry(SensitivityId, Le32(61)) + Entry(CornerId, Le32(3)) + Entry(FlagId, Le32(0)));
  EXPECT_EQ(cfg_moxel_corner, 3u);
  EXPECT_EQ(cfg_wheel_sensitivity, 61u);
  EXPECT_EQ(cfg_defaults_applied, 0u);
}

// A host stream whose reads fail with an error of its own.
class failing_reader final : public stream_reader {
 public:
  size_t read(void*, size_t, abort_callback*) override { throw std::runtime_error("disk gone"); }
  void read_object(void*, size_t, abort_callback*) override { throw std::runtime_error("disk gone"); }
  uint64_t skip(uint64_t, abort_callback*) override { throw std::runtime_error("disk gone"); }
  void skip_object(uint64_t, abort_callback*) override { throw std::runtime_error("disk gone"); }
};

// A host stream that answers reads with more bytes than it was asked for.
class overclaiming_reader final : public stream_reader {
 public:
  explicit overclaiming_reader(std::vector<uint8_t> bytes) : inner_(std::move(bytes)) {}
  size_t read(void* buffer, size_t bytes, abort_callback* abort) override {
    return inner_.read(buffer, bytes, abort) + (bytes == 4 ? 1000 : 0);
  }
  void read_object(void* buffer, size_t bytes, abort_callback* abort) override {
    inner_.read_object(buffer, bytes, abort);
  }
  uint64_t skip(uint64_t bytes, abort_callback* abort) override { return inner_.skip(bytes, abort) + 1000; }
  void skip_object(uint64_t bytes, abort_callback* abort) override { inner_.skip_object(bytes, abort); }

 private:
  memory_reader inner_;
};

TEST_F(ConfigStream, HostStreamFailuresLeaveTheRead) {
  failing_reader in;
  EXPECT_THROW(read_configuration(&in, &abort_), std::runtime_error);
}

TEST_F(ConfigStream, OverclaimingHostStreamIsNotBelievedBeyondTheRequest) {
  overclaiming_reader in(Entry(SensitivityId, Le32(66) + Le32(1)) + Entry(FlagId, Le32(1)));
  read_configuration(&in, &abort_);
  EXPECT_EQ(cfg_wheel_sensitivity, 66u);
}

TEST_F(ConfigStream, AbortDuringWriteIsReportedAndWritesNothing) {
  abort_.aborting = true;
  memory_writer out;
  try {
    write_configuration(&out, &abort_);
    FAIL() << "no exception";
  } catch (const quorbel_io::exception_aborted& error) {
    EXPECT_STREQ(error.what(), "User abort");
  }
  EXPECT_TRUE(out.bytes().empty());
}

}  // namespace
