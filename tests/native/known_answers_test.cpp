// The values that cross the boundary, typed once more as the interface documentation writes
// them, against the constants the code uses. They check transcription: a value the
// component and the simulated player share would hide a typo from every other test.
#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <utility>

#include "component/componentversion.h"
#include "component/preferences_service.h"
#include "component/service_factory.h"
#include "host/config/config_vars.h"
#include "host/player/interfaces/component_services.h"
#include "host/player/string_impl.h"
#include "moxel/bindings.h"
#include "resources/resource.h"
#include "resources/window_classes.h"

namespace {

struct guid_answer {
  const char* name;
  GUID value;
  const char* documented;
};

TEST(KnownAnswers, ClassAndVariableGuids) {
  const guid_answer answers[] = {
      {"playback control", playback_control::class_guid, "BF803668-2977-4C71-B9AB-5C77C338C970"},
      {"command resolver", command_resolver::class_guid, "AC70ECDC-0E1D-4DB2-9CD0-C9B8A9CD28FA"},
      {"command provider", command_provider::class_guid, "35077B8C-6E70-47BA-B9DD-D51500E12F2E"},
      {"menu group", menu_group::class_guid, "21656AB9-0255-4F8C-8FB9-1A7748BCE93A"},
      {"popup group", menu_group_popup::class_guid, "2E673A2E-A4EE-419C-94C8-9C838660414C"},
      {"play callback manager", play_callback_manager::class_guid, "78BCBFA1-DFB9-487F-AB16-CD82BF90CCF7"},
      {"host information", host_information::class_guid, "0C36A649-9EA0-4F48-B229-0CB2AA9AB6F4"},
      {"componentversion", componentversion::class_guid, "10BB3EBD-DDF7-4975-A3CC-23084829453E"},
      {"initquit", initquit::class_guid, "113773C4-B387-4B48-8BDF-AB58BC6CE538"},
      {"preferences_page", preferences_page::class_guid, "7255E8D0-3FCF-4781-B93B-D06CB88DFAFA"},
      {"preferences_page_v2", preferences_page_v2::class_guid, "CE4EBC9E-AB20-46F9-925F-883B084F0569"},
      {"preferences_page_v3", preferences_page_v3::class_guid, "D6D0F741-9F17-4DF8-9D5C-87F28B1F0E64"},
      {"preferences_page_instance", preferences_page_instance::class_guid, "6893A996-A816-49FE-82CE-0CB804A4CFEC"},
      {"page", preferences_page_myimpl::PageGuid, "54E8BF02-A260-4A38-9DA0-D7A3C1695413"},
      {"parent page", preferences_page_myimpl::ParentPageGuid, "6AAA67B6-732F-4967-899A-18C5F8C70017"},
      {"cfg_mouse_actions", static_cast<cfg_var_reader&>(cfg_mouse_actions).guid,
       "440A3A2D-0741-49DA-AA89-E9B284FE10E2"},
      {"cfg_defaults_applied", static_cast<cfg_var_reader&>(cfg_defaults_applied).guid,
       "88363A70-55BA-420B-A40F-92EF0173F46D"},
      {"cfg_wheel_sensitivity", static_cast<cfg_var_reader&>(cfg_wheel_sensitivity).guid,
       "46BDBF9D-9A8C-48CB-A5A1-BC84265CC9CD"},
      {"cfg_moxel_corner", static_cast<cfg_var_reader&>(cfg_moxel_corner).guid, "12256272-3778-4E9B-83BE-D05147047EEC"},
      {"cfg_moxel_screen", static_cast<cfg_var_reader&>(cfg_moxel_screen).guid, "3FF1550A-74EE-4EE3-BAAB-1ABC218E4FCB"},
      {"cfg_hide_for_fullscreen", static_cast<cfg_var_reader&>(cfg_hide_for_fullscreen).guid,
       "4E6F921F-DF3A-4D50-B2F5-AF38BFCC39EC"},
  };
  for (const guid_answer& answer : answers) EXPECT_EQ(GuidText(answer.value), answer.documented) << answer.name;
  // Each variable is written and read under one GUID.
  for (const cfg_var_reader* reader = cfg_var_reader::list_head; reader; reader = reader->next) {
    bool written = false;
    for (const cfg_var_writer* writer = cfg_var_writer::list_head; writer; writer = writer->next)
      written |= writer->guid == reader->guid;
    EXPECT_TRUE(written) << GuidText(reader->guid);
  }
}

TEST(KnownAnswers, DefaultBindings) {
  struct binding_answer {
    uint32_t mouseKey, modifiers;
    const char* action;
  };
  const binding_answer answers[9] = {
      {1, 0, "90500F09-F16F-415E-A047-AC5045C95FFE"}, {1, 4, "059C4566-4708-4EBF-8139-6A8EA5A9DFC8"},
      {2, 0, "13C17E8D-0D6F-41A4-B24A-59371043E925"}, {2, 4, "E58895A0-A2F0-45B6-8799-1440E4DB7284"},
      {3, 0, "8DEBC44E-EDA2-48D4-8696-31FC29D1F383"}, {4, 0, "059C4566-4708-4EBF-8139-6A8EA5A9DFC8"},
      {5, 0, "E58895A0-A2F0-45B6-8799-1440E4DB7284"}, {6, 0, "059C4566-4708-4EBF-8139-6A8EA5A9DFC8"},
      {7, 0, "E58895A0-A2F0-45B6-8799-1440E4DB7284"},
  };
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(DefaultBindings[i].mouseKey, answers[i].mouseKey) << i;
    EXPECT_EQ(DefaultBindings[i].modifiers, answers[i].modifiers) << i;
    EXPECT_EQ(GuidText(DefaultBindings[i].action), answers[i].action) << i;
  }
}

TEST(KnownAnswers, ResourceAndControlIds) {
  const int resources[] = {IDB_MOXEL_NORMAL, IDB_MOXEL_HOVER, IDB_VOLUME_STRIP, IDD_PREFERENCES};
  const int documentedResources[] = {101, 102, 103, 104};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(resources[i], documentedResources[i]) << i;
  // The dialog's controls in template order: captions, list, buttons, filter, tree, key,
  // modifier boxes, trackbar, corner box.
  const int controls[] = {IDC_CAPTION_BINDINGS,
                          IDC_BINDINGS,
                          IDC_ADD,
                          IDC_REMOVE,
                          IDC_CAPTION_ACTION,
                          IDC_FILTER_LABEL,
                          IDC_FILTER,
                          IDC_COMMANDS,
                          IDC_CAPTION_INPUT,
                          IDC_KEY,
                          IDC_CTRL,
                          IDC_ALT,
                          IDC_SHIFT,
                          IDC_CAPTION_WHEEL,
                          IDC_SENSITIVITY,
                          IDC_CORNER};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(controls[i], 1001 + i) << i;
}

// Other programs find the library's windows by these, as the tests and the simulator do.
TEST(KnownAnswers, WindowClassesAndTitles) {
  EXPECT_EQ(std::wstring(MoxelClassName), L"{9619D0A7-70B0-4320-AEA5-89459EB700A4}");
  EXPECT_EQ(std::wstring(VolumeBarClassName), L"{10f11910-6820-45cc-ac3b-4d74e67c68f3}");
  EXPECT_EQ(std::wstring(SeparatorClassName), L"quorbel:separator");
  EXPECT_EQ(std::wstring(MoxelTitle), L"moxelwindow");
  EXPECT_EQ(std::wstring(VolumeBarTitle), L"moxelvolumebar");
}

// Calls slot `slot` of `object`'s table as the host or the component would: through the
// raw table, with `this` first. Answers what the operation returned.
template <class R, class... A>
__attribute__((no_sanitize("function"))) R CallSlot(void* object, int slot, A... arguments) {
  using operation = R (*)(void*, A...);
  return reinterpret_cast<operation>((*static_cast<void***>(object))[slot])(object, arguments...);
}

// Implements every operation of an interface by noting its name.
struct recorder {
  std::string answered;
  int Note(const char* name) {
    answered = name;
    return 0;
  }
};

template <class Interface>
struct recording_service : Interface, recorder {
  int service_release() override { return Note("release"); }
  int service_add_ref() override { return Note("add_ref"); }
  bool service_query(service_base*&, const GUID&) override { return Note("query"); }
};

struct recording_api : host_api_object, recorder {
  service_class_handle find_class(const GUID&) override { return Note("find_class"), nullptr; }
  bool create_instance(service_base*&, service_class_handle, uint32_t) override { return Note("create_instance"); }
  uint32_t count_instances(service_class_handle) override { return Note("count_instances"); }
};

struct recording_playback : recording_service<playback_control> {
  void set_volume(float) override { Note("set_volume"); }
  float get_volume() override { return Note("get_volume"); }
};

struct recording_provider : recording_service<command_provider> {
  uint32_t get_command_count() override { return Note("count"); }
  GUID* get_command(GUID* result, uint32_t) override { return Note("command"), result; }
  GUID* get_parent(GUID* result) override { return Note("parent"), result; }
  uint32_t get_sort_priority() override { return Note("sort_priority"); }
  bool get_display(uint32_t, string_base&, uint32_t&) override { return Note("display"); }
  void execute(uint32_t, service_base*) override { Note("execute"); }
};

struct recording_resolver : recording_service<command_resolver> {
  bool find_command(const GUID*, command_provider*&, uint32_t&) override { return Note("find_command"); }
};

struct recording_group : recording_service<menu_group_popup> {
  GUID* get_guid(GUID* result) override { return Note("guid"), result; }
  GUID* get_parent(GUID* result) override { return Note("parent"), result; }
  uint32_t get_sort_priority() override { return Note("sort_priority"); }
  void get_display_string(string_base&) override { Note("display_string"); }
};

struct recording_manager : recording_service<play_callback_manager> {
  void register_callback(play_callback*, uint32_t, bool) override { Note("register"); }
  void unregister_callback(play_callback*) override { Note("unregister"); }
};

struct recording_information : recording_service<host_information> {
  const char* get_text() override { return Note("text"), ""; }
};

struct recording_page_callback : recording_service<page_callback> {
  void on_state_changed() override { Note("state_changed"); }
};

struct recording_listener : play_callback, recorder {
  void on_playback_starting(uint32_t, uint32_t) override { Note("starting"); }
  void on_playback_new_track(service_base*) override { Note("new_track"); }
  void on_playback_stop(uint32_t) override { Note("stop"); }
  void on_playback_seek(double) override { Note("seek"); }
  void on_playback_pause(uint32_t) override { Note("pause"); }
  void on_playback_edited(service_base*) override { Note("edited"); }
  void on_playback_dynamic_info(const void*) override { Note("dynamic_info"); }
  void on_playback_dynamic_info_track(const void*) override { Note("dynamic_info_track"); }
  void on_playback_time(double) override { Note("time"); }
  void on_volume_change(float) override { Note("volume_change"); }
};

struct recording_version : recording_service<componentversion> {
  void get_file_name(string_base&) override { Note("file_name"); }
  void get_component_name(string_base&) override { Note("component_name"); }
  void get_component_version(string_base&) override { Note("component_version"); }
  void get_about_message(string_base&) override { Note("about"); }
};

struct recording_initquit : recording_service<initquit> {
  void on_init() override { Note("init"); }
  void on_quit() override { Note("quit"); }
};

struct recording_page : recording_service<preferences_page_v3> {
  HWND create(HWND) override { return Note("create"), nullptr; }
  const char* get_name() override { return Note("name"), ""; }
  GUID* get_guid(GUID* result) override { return Note("guid"), result; }
  GUID* get_parent_guid(GUID* result) override { return Note("parent_guid"), result; }
  bool reset_query() override { return Note("reset_query"); }
  void reset() override { Note("reset"); }
  bool get_help_url(string_base&) override { return Note("help_url"); }
  double get_sort_priority() override { return Note("sort_priority"); }
  preferences_page_instance* instantiate(HWND, page_callback*) override { return Note("instantiate"), nullptr; }
};

struct recording_instance : recording_service<preferences_page_instance> {
  uint32_t get_state() override { return Note("state"); }
  HWND get_wnd() override { return Note("wnd"), nullptr; }
  void apply() override { Note("apply"); }
  void reset() override { Note("reset"); }
};

// Calls each documented slot through the table of `object`'s Interface, with null for
// every argument (the recording operations read none), and checks which operation answered.
template <class Interface, class Recording>
void ExpectSlots(Recording& object, std::initializer_list<std::pair<int, const char*>> slots) {
  Interface* table = &object;
  for (const auto& [slot, name] : slots) {
    object.answered.clear();
    CallSlot<void>(table, slot, nullptr, nullptr, nullptr);
    EXPECT_EQ(object.answered, name) << typeid(Interface).name() << " slot " << slot;
  }
}

TEST(KnownAnswers, SlotsOfTheHostInterfaces) {
  recording_api api;
  ExpectSlots<host_api_object>(api, {{0, "find_class"}, {1, "create_instance"}, {2, "count_instances"}});
  recording_playback playback;
  ExpectSlots<playback_control>(playback,
                                {{0, "release"}, {1, "add_ref"}, {2, "query"}, {11, "set_volume"}, {12, "get_volume"}});
  recording_provider provider;
  ExpectSlots<command_provider>(
      provider, {{3, "count"}, {4, "command"}, {7, "parent"}, {8, "sort_priority"}, {9, "display"}, {10, "execute"}});
  recording_resolver resolver;
  ExpectSlots<command_resolver>(resolver, {{4, "find_command"}});
  recording_group group;
  ExpectSlots<menu_group_popup>(group, {{3, "guid"}, {4, "parent"}, {5, "sort_priority"}, {6, "display_string"}});
  recording_manager manager;
  ExpectSlots<play_callback_manager>(manager, {{3, "register"}, {4, "unregister"}});
  recording_information information;
  ExpectSlots<host_information>(information, {{3, "text"}});
  recording_page_callback callback;
  ExpectSlots<page_callback>(callback, {{3, "state_changed"}});
}

TEST(KnownAnswers, SlotsOfTheComponentInterfaces) {
  recording_listener listener;
  ExpectSlots<play_callback>(listener, {{0, "starting"},
                                        {1, "new_track"},
                                        {2, "stop"},
                                        {3, "seek"},
                                        {4, "pause"},
                                        {5, "edited"},
                                        {6, "dynamic_info"},
                                        {7, "dynamic_info_track"},
                                        {8, "time"},
                                        {9, "volume_change"}});
  recording_version version;
  ExpectSlots<componentversion>(version,
                                {{3, "file_name"}, {4, "component_name"}, {5, "component_version"}, {6, "about"}});
  recording_initquit initquit_service;
  ExpectSlots<initquit>(initquit_service, {{3, "init"}, {4, "quit"}});
  recording_page page;
  ExpectSlots<preferences_page_v3>(page, {{3, "create"},
                                          {4, "name"},
                                          {5, "guid"},
                                          {6, "parent_guid"},
                                          {7, "reset_query"},
                                          {8, "reset"},
                                          {9, "help_url"},
                                          {10, "sort_priority"},
                                          {11, "instantiate"}});
  recording_instance instance;
  ExpectSlots<preferences_page_instance>(instance, {{3, "state"}, {4, "wnd"}, {5, "apply"}, {6, "reset"}});

  // The component's own version service, through its table as the host calls it.
  service_impl_single_t<componentversion_myimpl> component;
  string8_impl text;
  CallSlot<void>(static_cast<componentversion*>(&component), 4, &text);
  EXPECT_STREQ(text.get_ptr(), "moxel control");
  CallSlot<void>(static_cast<componentversion*>(&component), 5, &text);
  EXPECT_STREQ(text.get_ptr(), "0.3");
}

}  // namespace
