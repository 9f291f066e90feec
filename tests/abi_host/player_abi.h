// The player's side of the component boundary as the player publishes it:
// its exceptions, the service object model, the host API object, the configuration streams,
// the host services the component calls and the component's own services. Declared here
// from that description, apart from the component's sources, so that the test compares two
// readings of it.
#pragma once

#include "platform.h"

struct GUID {
  uint32_t Data1;
  uint16_t Data2, Data3;
  uint8_t Data4[8];
};
inline bool operator==(const GUID& a, const GUID& b) { return memcmp(&a, &b, sizeof a) == 0; }

// ---- The player's exceptions
class exception_service_not_found : public std::exception {
 public:
  exception_service_not_found() : std::exception("Service not found") {}
};
class exception_service_duplicated : public std::exception {
 public:
  exception_service_duplicated() : std::exception("Service duplicated") {}
};
class exception_bug_check : public std::exception {
 public:
  explicit exception_bug_check(const char* text = "Bug check") : std::exception(text) {}
};
class exception_not_implemented : public exception_bug_check {
 public:
  exception_not_implemented() : exception_bug_check("Feature not implemented") {}
};
class exception_win32 : public std::exception {
 public:
  explicit exception_win32(const char* text) : std::exception(text) {}
};
namespace quorbel_io {
class exception_io : public std::exception {
 public:
  explicit exception_io(const char* text = "I/O error") : std::exception(text) {}
};
class exception_io_data : public exception_io {
 public:
  explicit exception_io_data(const char* text = "Unsupported format or corrupted file") : exception_io(text) {}
};
class exception_io_data_truncation : public exception_io_data {
 public:
  exception_io_data_truncation() : exception_io_data("Unsupported format or corrupted file") {}
};
class exception_aborted : public std::exception {
 public:
  exception_aborted() : std::exception("User abort") {}
};
}  // namespace quorbel_io

// ---- Service objects and text
class service_base {
 public:
  virtual int service_release() = 0;                                     // [0]
  virtual int service_add_ref() = 0;                                     // [1]
  virtual bool service_query(service_base*& out, const GUID& guid) = 0;  // [2]
};

class string_base {
 public:
  virtual void add_string(const char* text, size_t length) = 0;  // [0]
  virtual const char* get_ptr() const = 0;                       // [1]
  virtual void set_string(const char* text, size_t length) = 0;  // [2]
  virtual void truncate(size_t length) = 0;                      // [3]
  virtual size_t get_length() const = 0;                         // [4]
  virtual char* lock_buffer(size_t length) = 0;                  // [5]
  virtual void unlock_buffer() = 0;                              // [6]
};

typedef struct service_class_tag* service_class_handle;

class host_api_object {
 public:
  virtual service_class_handle find_class(const GUID& cls) = 0;                                    // [0]
  virtual bool create_instance(service_base*& out, service_class_handle cls, uint32_t index) = 0;  // [1]
  virtual uint32_t count_instances(service_class_handle cls) = 0;                                  // [2]
};

// ---- Configuration streams
class abort_callback {
 public:
  virtual bool is_aborting() const = 0;  // [0]
};
class stream_reader {
 public:
  virtual size_t read(void* buffer, size_t bytes, abort_callback* abort) = 0;       // [0]
  virtual void read_object(void* buffer, size_t bytes, abort_callback* abort) = 0;  // [1]
  virtual uint64_t skip(uint64_t bytes, abort_callback* abort) = 0;                 // [2]
  virtual void skip_object(uint64_t bytes, abort_callback* abort) = 0;              // [3]
};
class stream_writer {
 public:
  virtual void write(const void* buffer, size_t bytes, abort_callback* abort) = 0;  // [0]
};

// ---- Host services the component calls
class playback_control : public service_base {
 public:
  static constexpr GUID class_guid = {0xBF803668, 0x2977, 0x4C71, {0xB9, 0xAB, 0x5C, 0x77, 0xC3, 0x38, 0xC9, 0x70}};
  virtual void slot3() {}
  virtual void slot4() {}
  virtual void slot5() {}
  virtual void slot6() {}
  virtual void slot7() {}
  virtual void slot8() {}
  virtual void slot9() {}
  virtual void slot10() {}
  virtual void set_volume(float db) = 0;  // [11]
  virtual float get_volume() = 0;         // [12]
};

class command_provider : public service_base {
 public:
  static constexpr GUID class_guid = {0x35077B8C, 0x6E70, 0x47BA, {0xB9, 0xDD, 0xD5, 0x15, 0x00, 0xE1, 0x2F, 0x2E}};
  virtual uint32_t get_command_count() = 0;      // [3]
  virtual GUID get_command(uint32_t index) = 0;  // [4]
  virtual void slot5() {}
  virtual void slot6() {}
  virtual GUID get_parent() = 0;                                                    // [7]
  virtual uint32_t get_sort_priority() = 0;                                         // [8]
  virtual bool get_display(uint32_t index, string_base& out, uint32_t& flags) = 0;  // [9]
  virtual void execute(uint32_t index, service_base* context) = 0;                  // [10]
};

class command_resolver : public service_base {
 public:
  static constexpr GUID class_guid = {0xAC70ECDC, 0x0E1D, 0x4DB2, {0x9C, 0xD0, 0xC9, 0xB8, 0xA9, 0xCD, 0x28, 0xFA}};
  virtual void slot3() {}
  virtual bool find_command(const GUID* command, command_provider*& out, uint32_t& index) = 0;  // [4]
};

class menu_group : public service_base {
 public:
  static constexpr GUID class_guid = {0x21656AB9, 0x0255, 0x4F8C, {0x8F, 0xB9, 0x1A, 0x77, 0x48, 0xBC, 0xE9, 0x3A}};
  virtual GUID get_guid() = 0;               // [3]
  virtual GUID get_parent() = 0;             // [4]
  virtual uint32_t get_sort_priority() = 0;  // [5]
};
class menu_group_popup : public menu_group {
 public:
  static constexpr GUID class_guid = {0x2E673A2E, 0xA4EE, 0x419C, {0x94, 0xC8, 0x9C, 0x83, 0x86, 0x60, 0x41, 0x4C}};
  virtual void get_display_string(string_base& out) = 0;  // [6]
};

// The component's playback listener: slots [0] to [8] take 2, R, 1, D, 1, R, 1, 1 and D
// pointer-sized words, R a counted reference that the listener releases, D a double.
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
};
constexpr unsigned DoubleWords = sizeof(double) / sizeof(uintptr_t);
constexpr unsigned PlayCallbackArgumentWords[9] = {2, 1, 1, DoubleWords, 1, 1, 1, 1, DoubleWords};
constexpr bool PlayCallbackTakesReference[9] = {false, true, false, false, false, true, false, false, false};

class play_callback_manager : public service_base {
 public:
  static constexpr GUID class_guid = {0x78BCBFA1, 0xDFB9, 0x487F, {0xAB, 0x16, 0xCD, 0x82, 0xBF, 0x90, 0xCC, 0xF7}};
  virtual void register_callback(play_callback* callback, uint32_t flags, bool forward_status) = 0;  // [3]
  virtual void unregister_callback(play_callback* callback) = 0;                                     // [4]
};

class host_information : public service_base {
 public:
  static constexpr GUID class_guid = {0x0C36A649, 0x9EA0, 0x4F48, {0xB2, 0x29, 0x0C, 0xB2, 0xAA, 0x9A, 0xB6, 0xF4}};
  virtual const char* get_text() = 0;  // [3]
};

// Handed to a page at instantiation; it has no class of its own to be looked up by.
class page_callback : public service_base {
 public:
  static constexpr GUID class_guid = {};
  virtual void on_state_changed() = 0;  // [3]
};

// ---- What the component offers
class service_factory {
 public:
  virtual void instance_create(service_base*& out) = 0;  // [0]
  service_factory* next;
  const GUID* class_guid;
};

class client_object {
 public:
  virtual uint32_t get_version() = 0;                                           // [0]
  virtual service_factory* get_service_list() = 0;                              // [1]
  virtual void config_write(stream_writer* stream, abort_callback* abort) = 0;  // [2]
  virtual void config_read(stream_reader* stream, abort_callback* abort) = 0;   // [3]
  virtual void set_texts(const char* first, const char* second) = 0;            // [4]
  virtual void set_flag(bool value) = 0;                                        // [5]
  virtual bool slot6() = 0;                                                     // [6]
};
typedef client_object*(__cdecl* get_interface_function)(host_api_object* api, void* context);

class componentversion : public service_base {
 public:
  static constexpr GUID class_guid = {0x10BB3EBD, 0xDDF7, 0x4975, {0xA3, 0xCC, 0x23, 0x08, 0x48, 0x29, 0x45, 0x3E}};
  virtual void get_file_name(string_base& out) = 0;          // [3]
  virtual void get_component_name(string_base& out) = 0;     // [4]
  virtual void get_component_version(string_base& out) = 0;  // [5]
  virtual void get_about_message(string_base& out) = 0;      // [6]
};

class initquit : public service_base {
 public:
  static constexpr GUID class_guid = {0x113773C4, 0xB387, 0x4B48, {0x8B, 0xDF, 0xAB, 0x58, 0xBC, 0x6C, 0xE5, 0x38}};
  virtual void on_init() = 0;  // [3]
  virtual void on_quit() = 0;  // [4]
};

class preferences_page_instance : public service_base {
 public:
  static constexpr GUID class_guid = {0x6893A996, 0xA816, 0x49FE, {0x82, 0xCE, 0x0C, 0xB8, 0x04, 0xA4, 0xCF, 0xEC}};
  virtual uint32_t get_state() = 0;  // [3]
  virtual HWND get_wnd() = 0;        // [4]
  virtual void apply() = 0;          // [5]
  virtual void reset() = 0;          // [6]
};

class preferences_page : public service_base {
 public:
  static constexpr GUID class_guid = {0x7255E8D0, 0x3FCF, 0x4781, {0xB9, 0x3B, 0xD0, 0x6C, 0xB8, 0x8D, 0xFA, 0xFA}};
  virtual HWND create(HWND parent) = 0;  // [3] the older way to make a page
  virtual const char* get_name() = 0;    // [4]
  virtual GUID get_guid() = 0;           // [5]
  virtual GUID get_parent_guid() = 0;    // [6]
  virtual bool slot7() = 0;              // [7]
  virtual void slot8() = 0;              // [8]
};
class preferences_page_v2 : public preferences_page {
 public:
  static constexpr GUID class_guid = {0xCE4EBC9E, 0xAB20, 0x46F9, {0x92, 0x5F, 0x88, 0x3B, 0x08, 0x4F, 0x05, 0x69}};
  virtual bool get_help_url(string_base& out) = 0;  // [9]
  virtual double get_sort_priority() = 0;           // [10]
};
class preferences_page_v3 : public preferences_page_v2 {
 public:
  static constexpr GUID class_guid = {0xD6D0F741, 0x9F17, 0x4DF8, {0x9D, 0x5C, 0x87, 0xF2, 0x8B, 0x1F, 0x0E, 0x64}};
  virtual preferences_page_instance* instantiate(HWND parent, page_callback* callback) = 0;  // [11]
};
