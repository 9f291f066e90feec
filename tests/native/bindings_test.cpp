#include <gtest/gtest.h>

#include "host/player/player.h"
#include "host/player/service_lookup.h"
#include "moxel/bindings.h"
#include "simulator/simulated_host.h"
#include "test_support.h"

namespace {

constexpr GUID PlayOrPause = {0x90500F09, 0xF16F, 0x415E, {0xA0, 0x47, 0xAC, 0x50, 0x45, 0xC9, 0x5F, 0xFE}};
constexpr GUID Next = {0xE58895A0, 0xA2F0, 0x45B6, {0x87, 0x99, 0x14, 0x40, 0xE4, 0xDB, 0x72, 0x84}};
constexpr GUID Unknown = {0x12345678, 0, 0, {}};
constexpr GUID Edits = {0xED175000, 0, 0, {1}};

// Runs gestures against the simulated player's menu.
class RunActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetConfiguration();
    g_host_api = &host_.api();
  }
  void TearDown() override {
    g_host_api = nullptr;
    ResetConfiguration();
  }
  void Bind(uint32_t key, uint32_t modifiers, const GUID& action) {
    cfg_mouse_actions.add_item({key, modifiers, action});
  }

  // Every host reference the component took has been given back.
  void ExpectAllReleased() {
    service_registry& api = host_.api();
    for (const GUID& cls : {command_resolver::class_guid, command_provider::class_guid}) {
      const service_class_handle handle = api.find_class(cls);
      for (uint32_t i = 0; i < api.count_instances(handle); ++i) {
        service_base* instance = nullptr;
        api.create_instance(instance, handle, i);
        EXPECT_EQ(instance->service_release(), 1) << "instance " << i;
      }
    }
  }

  simulated_host host_;
};

TEST_F(RunActionsTest, RunsEveryExactMatchInListOrder) {
  Bind(LeftClick, 0, PlayOrPause);
  Bind(LeftClick, ModifierShift, Next);  // more modifiers: no match
  Bind(RightClick, 0, Next);             // other key: no match
  Bind(LeftClick, 0, Next);
  Bind(LeftClick, 0, PlayOrPause);  // duplicates each run
  RunActions(0, LeftClick);
  EXPECT_EQ(host_.executed(), (command_log{"Play or pause", "Next", "Play or pause"}));
  ExpectAllReleased();
}

TEST_F(RunActionsTest, EmptyListOrFewerModifiersRunNothing) {
  RunActions(0, LeftClick);
  Bind(MiddleClick, ModifierShift | ModifierCtrl, Next);
  RunActions(ModifierShift, MiddleClick);
  EXPECT_TRUE(host_.executed().empty());
  RunActions(ModifierShift | ModifierCtrl, MiddleClick);
  EXPECT_EQ(host_.executed(), (command_log{"Next"}));
}

TEST_F(RunActionsTest, UnknownCommandIsSkippedAndLaterBindingsStillRun) {
  Bind(XButton2Click, 0, Unknown);
  Bind(XButton2Click, 0, Next);
  RunActions(0, XButton2Click);
  EXPECT_EQ(host_.executed(), (command_log{"Next"}));
  ExpectAllReleased();
}

TEST_F(RunActionsTest, CommandThatEditsTheBindingsTakesEffectWithTheNextGesture) {
  host_.api().Add(command_provider::class_guid,
                  new menu_command_provider(GUID{}, 0,
                                            {{Edits, "Edit bindings", true,
                                              [] {
                                                cfg_mouse_actions.remove_all();
                                                cfg_mouse_actions.add_item({LeftClick, 0, Next});
                                              }}},
                                            host_.executed()));
  Bind(LeftClick, 0, Edits);
  Bind(LeftClick, 0, PlayOrPause);
  RunActions(0, LeftClick);
  EXPECT_EQ(host_.executed(), (command_log{"Edit bindings", "Play or pause"}));
  RunActions(0, LeftClick);
  EXPECT_EQ(host_.executed().back(), "Next");
  ExpectAllReleased();
}

TEST_F(RunActionsTest, MissingOrDuplicatedResolverLeavesWithTheLookupFailure) {
  Bind(LeftClick, 0, PlayOrPause);
  host_.api().Remove(command_resolver::class_guid);
  const auto failureText = [&] {
    try {
      RunActions(0, LeftClick);
    } catch (const player::failure& failure) {
      return std::string(failure.what());
    }
    return std::string("nothing thrown");
  };
  EXPECT_EQ(failureText(), "Service not found");
  host_.api().Add(command_resolver::class_guid, new command_finder(host_.api()));
  host_.api().Add(command_resolver::class_guid, new command_finder(host_.api()));
  EXPECT_EQ(failureText(), "Service duplicated");
  g_host_api = nullptr;  // before the host has handed over its API object
  EXPECT_EQ(failureText(), "Service not found");
  EXPECT_TRUE(host_.executed().empty());
}

TEST(FirstRunDefaults, ReplaceTheListOnceAndNeverAgain) {
  ResetConfiguration();
  cfg_mouse_actions.add_item({LeftClick, 0, Next});
  cfg_mouse_actions.add_item({RightClick, 0, Next});
  cfg_mouse_actions.add_item({MiddleClick, 0, Next});
  cfg_wheel_sensitivity = 3;
  ApplyFirstRunDefaults();
  ASSERT_EQ(cfg_mouse_actions.get_count(), 9u);
  for (size_t i = 0; i < 9; ++i) {
    EXPECT_EQ(cfg_mouse_actions[i].mouseKey, DefaultBindings[i].mouseKey);
    EXPECT_EQ(cfg_mouse_actions[i].modifiers, DefaultBindings[i].modifiers);
    EXPECT_TRUE(cfg_mouse_actions[i].action == DefaultBindings[i].action);
  }
  EXPECT_EQ(cfg_defaults_applied, 1u);
  EXPECT_EQ(cfg_wheel_sensitivity, 128u);

  cfg_mouse_actions.remove_all();
  cfg_wheel_sensitivity = 3;
  ApplyFirstRunDefaults();
  EXPECT_EQ(cfg_mouse_actions.get_count(), 0u);
  EXPECT_EQ(cfg_wheel_sensitivity, 3u);
  ResetConfiguration();
}

}  // namespace
