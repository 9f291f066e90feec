// The host's side of the boundary: the host API object and the host services the
// component calls, each with its operations at fixed slots. Slots the component never
// calls are kept as placeholders so that the ones it calls land where the host has them.
#pragma once

#include <cstdint>

#include "host/player/interfaces/guid.h"
#include "host/player/interfaces/platform_types.h"
#include "host/player/interfaces/service.h"

typedef struct service_class_tag* service_class_handle;

class host_api_object {
 public:
  virtual service_class_handle find_class(const GUID& cls) = 0;                                    // [0]
  virtual bool create_instance(service_base*& out, service_class_handle cls, uint32_t index) = 0;  // [1]
  virtual uint32_t count_instances(service_class_handle cls) = 0;                                  // [2]

 protected:
  ~host_api_object() = default;
};

// A GUID result is written through a buffer the caller passes, and the buffer is handed
// back. Declared this way, every compiler of the platform agrees on the machine code:
// on 32-bit, `this` in ECX, the buffer pushed before the arguments, the buffer returned in
// EAX; on x64, `this` in RCX, the buffer in RDX, the buffer returned in RAX. (GCC would pass
// the hidden result buffer of `GUID f()` first: in ECX, or in RCX with `this` in RDX.)

#define QUORBEL_PLACEHOLDER_SLOT(n) \
  virtual void unused_slot_##n() {}

class playback_control : public service_base {
 public:
  static constexpr GUID class_guid = {0xBF803668, 0x2977, 0x4C71, {0xB9, 0xAB, 0x5C, 0x77, 0xC3, 0x38, 0xC9, 0x70}};
  QUORBEL_PLACEHOLDER_SLOT(3)
  QUORBEL_PLACEHOLDER_SLOT(4)
  QUORBEL_PLACEHOLDER_SLOT(5)
  QUORBEL_PLACEHOLDER_SLOT(6)
  QUORBEL_PLACEHOLDER_SLOT(7)
  QUORBEL_PLACEHOLDER_SLOT(8)
  QUORBEL_PLACEHOLDER_SLOT(9)
  QUORBEL_PLACEHOLDER_SLOT(10)
  virtual void set_volume(float db) = 0;  // [11]
  virtual float get_volume() = 0;         // [12]

 protected:
  ~playback_control() = default;
};

class command_provider : public service_base {
 public:
  static constexpr GUID class_guid = {0x35077B8C, 0x6E70, 0x47BA, {0xB9, 0xDD, 0xD5, 0x15, 0x00, 0xE1, 0x2F, 0x2E}};
  virtual uint32_t get_command_count() = 0;                     // [3]
  virtual GUID* get_command(GUID* result, uint32_t index) = 0;  // [4]
  QUORBEL_PLACEHOLDER_SLOT(5)
  QUORBEL_PLACEHOLDER_SLOT(6)
  virtual GUID* get_parent(GUID* result) = 0;  // [7]
  virtual uint32_t get_sort_priority() = 0;    // [8]
  // False: the command is left out of menus.
  virtual bool get_display(uint32_t index, string_base& out, uint32_t& flags) = 0;  // [9]
  virtual void execute(uint32_t index, service_base* context) = 0;                  // [10]

 protected:
  ~command_provider() = default;
};

class command_resolver : public service_base {
 public:
  static constexpr GUID class_guid = {0xAC70ECDC, 0x0E1D, 0x4DB2, {0x9C, 0xD0, 0xC9, 0xB8, 0xA9, 0xCD, 0x28, 0xFA}};
  QUORBEL_PLACEHOLDER_SLOT(3)
  virtual bool find_command(const GUID* command, command_provider*& out, uint32_t& index) = 0;  // [4]

 protected:
  ~command_resolver() = default;
};

class menu_group : public service_base {
 public:
  static constexpr GUID class_guid = {0x21656AB9, 0x0255, 0x4F8C, {0x8F, 0xB9, 0x1A, 0x77, 0x48, 0xBC, 0xE9, 0x3A}};
  virtual GUID* get_guid(GUID* result) = 0;    // [3]
  virtual GUID* get_parent(GUID* result) = 0;  // [4]
  virtual uint32_t get_sort_priority() = 0;    // [5]

 protected:
  ~menu_group() = default;
};

// What a menu group's query hands back for a group shown as a popup with its own name.
class menu_group_popup : public menu_group {
 public:
  static constexpr GUID class_guid = {0x2E673A2E, 0xA4EE, 0x419C, {0x94, 0xC8, 0x9C, 0x83, 0x86, 0x60, 0x41, 0x4C}};
  virtual void get_display_string(string_base& out) = 0;  // [6]

 protected:
  ~menu_group_popup() = default;
};

// The component's playback listener. Slots [0] to [8] carry events the component ignores;
// their counted reference arguments are released by the listener.
class play_callback {
 public:
  virtual void on_playback_starting(uint32_t command, uint32_t paused) = 0;  // [0]
  virtual void on_playback_new_track(service_base* track) = 0;               // [1]
  virtual void on_playback_stop(uint32_t reason) = 0;                        // [2]
  virtual void on_playback_seek(double seconds) = 0;                         // [3]
  virtual void on_playback_pause(uint32_t state) = 0;                        // [4]
  virtual void on_playback_edited(service_base* track) = 0;                  // [5]
  virtual void on_playback_dynamic_info(const void* info) = 0;               // [6]
  virtual void on_playback_dynamic_info_track(const void* info) = 0;         // [7]
  virtual void on_playback_time(double seconds) = 0;                         // [8]
  virtual void on_volume_change(float db) = 0;                               // [9]

 protected:
  ~play_callback() = default;
};

class play_callback_manager : public service_base {
 public:
  static constexpr GUID class_guid = {0x78BCBFA1, 0xDFB9, 0x487F, {0xAB, 0x16, 0xCD, 0x82, 0xBF, 0x90, 0xCC, 0xF7}};
  virtual void register_callback(play_callback* callback, uint32_t flags, bool forward_status) = 0;  // [3]
  virtual void unregister_callback(play_callback* callback) = 0;                                     // [4]

 protected:
  ~play_callback_manager() = default;
};

class host_information : public service_base {
 public:
  static constexpr GUID class_guid = {0x0C36A649, 0x9EA0, 0x4F48, {0xB2, 0x29, 0x0C, 0xB2, 0xAA, 0x9A, 0xB6, 0xF4}};
  virtual const char* get_text() = 0;  // [3]

 protected:
  ~host_information() = default;
};

// Handed to a preferences page instance; the page reports every change of its state.
class page_callback : public service_base {
 public:
  virtual void on_state_changed() = 0;  // [3]

 protected:
  ~page_callback() = default;
};

#undef QUORBEL_PLACEHOLDER_SLOT
