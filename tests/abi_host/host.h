// The test host: its report, its view of raised C++ exceptions, and the player objects it
// hands the component (host API object, services, streams, text), each a C++ class of its
// own, so that every call crosses the boundary with the player compiler's conventions.
#pragma once

#include "player_abi.h"

// ---- Report: one line per check, a summary at the end.
bool check(bool ok, const char* name, const char* detail = nullptr, ...);
void note(const char* format, ...);
unsigned FailedChecks();
void PrintSummary();

// ---- The last C++ exception raised in the process, as a first-chance handler saw it.
struct raised_exception {
  uint32_t flags, parameters, magic;
  const uint8_t* object;
  const throw_info* info;
  uintptr_t image_base;  // on x64, where the throw information's references count from
};
extern raised_exception g_last_raised;
void WatchRaisedExceptions();
// Ends the process with a report when it has not ended after `seconds`.
void StartWatchdog(DWORD seconds);
// The decorated name of the raised object's most derived class, or "" when there is none.
const char* RaisedTypeName(const raised_exception& raised);
size_t RaisedObjectSize(const raised_exception& raised);

// Calls slot `slot` of `object` as the player's compiler calls a member function with `words`
// pointer-sized arguments. On 32-bit x86: the object in ECX, the arguments pushed from the last
// to the first. On x64: the object in RCX, the first three arguments in RDX, R8 and R9 and
// also in XMM1 to XMM3 (where a floating-point argument goes), the rest on the stack above
// the callee's 32-byte home area. Stores the integer result register (EAX, RAX) in `result`
// and answers the bytes the callee left on the stack: 0 when it popped exactly its arguments
// on 32-bit x86, always 0 on x64, where the caller pops.
extern "C" int __cdecl CallMember(void* object, unsigned slot, const uintptr_t* arguments, unsigned words,
                                  uintptr_t* result);

// ---- Text and bytes
void FormatInto(char* out, size_t size, const char* format, va_list arguments);
template <size_t Size>
void Format(char (&out)[Size], const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  FormatInto(out, Size, format, arguments);
  va_end(arguments);
}
void FormatGuid(const GUID& guid, char (&text)[40]);
bool EndsWith(const char* text, const char* end);

struct byte_string {
  uint8_t data[2048];
  size_t size = 0;
  byte_string& raw(const void* bytes, size_t count);
  byte_string& u32(uint32_t value) { return raw(&value, 4); }
  byte_string& guid(const GUID& value) { return raw(&value, 16); }
  byte_string& append(const byte_string& more) { return raw(more.data, more.size); }
};
// One configuration entry: the variable's GUID, the payload's size, the payload.
byte_string Entry(const GUID& variable, const byte_string& payload);
byte_string Value(uint32_t value);
// A binding list payload: the count, then each binding's key, modifiers and command GUID.
struct binding {
  uint32_t key, modifiers;
  GUID action;
};
byte_string Bindings(const binding* items, uint32_t count);
// Checks that `got` holds exactly the bytes of `want`, naming the first difference.
bool check_bytes(const byte_string& got, const byte_string& want, const char* name);

// ---- Host objects
template <class Interface>
class counted_service : public Interface {
 public:
  int references = 1;  // the host's own
  int service_release() override { return --references; }
  int service_add_ref() override { return ++references; }
  bool service_query(service_base*& out, const GUID& guid) override {
    if (!(guid == Interface::class_guid)) return false;
    Hand(out);
    return true;
  }

 protected:
  void Hand(service_base*& out) {
    this->service_add_ref();
    if (out) out->service_release();
    out = this;
  }
};

// A counted object with no interface of its own, such as a track handed to a listener.
class host_object final : public service_base {
 public:
  int references = 1;
  int service_release() override { return --references; }
  int service_add_ref() override { return ++references; }
  bool service_query(service_base*&, const GUID&) override { return false; }
};

class host_string final : public string_base {
 public:
  void add_string(const char* text, size_t length) override;
  const char* get_ptr() const override { return text_; }
  void set_string(const char* text, size_t length) override {
    length_ = 0;
    add_string(text, length);
  }
  void truncate(size_t length) override;
  size_t get_length() const override { return length_; }
  char* lock_buffer(size_t length) override;
  void unlock_buffer() override { length_ = strlen(text_); }

 private:
  char text_[1024] = "";
  size_t length_ = 0;
};

// The host API object: service classes by GUID, each with its instances in order.
class host_services final : public host_api_object {
 public:
  void Add(const GUID& cls, service_base* instance);
  void Remove(const GUID& cls, service_base* instance);
  service_class_handle find_class(const GUID& cls) override;
  bool create_instance(service_base*& out, service_class_handle cls, uint32_t index) override;
  uint32_t count_instances(service_class_handle cls) override;

 private:
  struct service_class {
    GUID cls;
    service_base* instances[4];
    uint32_t count;
  };
  service_class classes_[12];
  uint32_t used_ = 0;
};

// The host's own exception, unknown to the component.
class disk_error : public std::exception {
 public:
  disk_error(const char* text, int sector) : std::exception(text), sector(sector) { ++live; }
  disk_error(const disk_error& other) : std::exception(other), sector(other.sector) {
    ++live;
    ++copies;
  }
  ~disk_error() override { --live; }
  int sector;
  static int live, copies;
};

// ---- Rethrows as the platform's current runtimes raise them: `catch (...) { cleanup(); throw; }`
// raises a C++ exception with no object and no exception type, and the runtime finds the
// exception in flight in its per-thread data, which it offers as __current_exception (this
// program exports its own, as a program that links the runtime in does). Here the exception in
// flight is a disk_error("disk on fire", 4711) that the rethrow keeps alive itself, and the
// raise comes from code with no C++ frame handler on the way to the component's gate, which
// would otherwise fill the record in as Wine's runtime does.
// A host exception with no copy constructor of its own: the compiler copies it bit by bit.
class plain_error {
 public:
  explicit plain_error(int sector) : sector(sector) { ++live; }
  ~plain_error() { --live; }
  int sector;
  static int live;
};

// A host exception whose copy constructor fails with a disk_error.
class copy_failing_error : public std::exception {
 public:
  copy_failing_error() : std::exception("copy failing") {}
  copy_failing_error(const copy_failing_error& other) : std::exception(other) { throw disk_error("copy failed", 17); }
};

enum class rethrow_site { reader, writer, abort, execute, set_volume };

class rethrow {
 public:
  explicit rethrow(rethrow_site site);  // the disk_error is in flight from here
  ~rethrow();
  rethrow(const rethrow&) = delete;
  rethrow& operator=(const rethrow&) = delete;
  int raised = 0;

 private:
  friend void RethrowIfTold(rethrow_site site);
  rethrow_site site_;
  alignas(8) unsigned char object_[sizeof(disk_error)];
  EXCEPTION_RECORD in_flight_{};
};
// Raises the rethrow in flight, once, when it is told to come from `site`.
void RethrowIfTold(rethrow_site site);

class abort_flag final : public abort_callback {
 public:
  explicit abort_flag(bool aborting = false) : aborting_(aborting) {}
  bool is_aborting() const override {
    RethrowIfTold(rethrow_site::abort);
    return aborting_;
  }

 private:
  bool aborting_;
};

// Reads the bytes given; a read, read exactly, skip or skip exactly that starts at
// `fail_at` throws the failure chosen instead, once.
class memory_reader final : public stream_reader {
 public:
  enum failure { None, Truncation, Disk, Plain, CopyFailing };
  explicit memory_reader(const byte_string& bytes, failure fails = None, size_t fail_at = 0)
      : bytes_(bytes), fails_(fails), fail_at_(fail_at) {}
  size_t read(void* buffer, size_t bytes, abort_callback* abort) override;
  void read_object(void* buffer, size_t bytes, abort_callback* abort) override;
  uint64_t skip(uint64_t bytes, abort_callback* abort) override;
  void skip_object(uint64_t bytes, abort_callback* abort) override;

 private:
  void FailHere();
  const byte_string& bytes_;
  failure fails_;
  size_t fail_at_;
  size_t position_ = 0;
};

class memory_writer final : public stream_writer {
 public:
  explicit memory_writer(bool fails = false) : fails_(fails) {}
  void write(const void* buffer, size_t bytes, abort_callback* abort) override;
  byte_string bytes;

 private:
  bool fails_;
};

class host_playback final : public counted_service<playback_control> {
 public:
  void set_volume(float db) override;
  float get_volume() override {
    ++get_calls;
    return volume;
  }
  float volume = -6.0f;
  bool set_throws = false;
  int set_calls = 0, get_calls = 0;
};

// A GUID slot of the host entered with another object than one of its own in the object
// register was called the other compiler's way, with the result's address there and the object
// on the stack (in RDX on x64). It counts the call and throws, since answering would write the
// GUID over the host's object.
extern int g_misdirected_guid_calls;
void RegisterGuidAnswerer(const void* object);
void RequireGuidAnswerer(const void* object);

// The host's menus: the popup "Playback" with "Play" and "Throwing", and within it a section
// (a group that is no popup) with "Shuffle" and "Repeat".
namespace menus {
constexpr GUID Play = {0x3C9A61E2, 0x51D0, 0x4B7A, {0x9E, 0x11, 0x25, 0x0B, 0x6F, 0x8D, 0x40, 0x01}};
constexpr GUID Throwing = {0x3C9A61E2, 0x51D0, 0x4B7A, {0x9E, 0x11, 0x25, 0x0B, 0x6F, 0x8D, 0x40, 0x02}};
constexpr GUID Shuffle = {0x3C9A61E2, 0x51D0, 0x4B7A, {0x9E, 0x11, 0x25, 0x0B, 0x6F, 0x8D, 0x40, 0x03}};
constexpr GUID Repeat = {0x3C9A61E2, 0x51D0, 0x4B7A, {0x9E, 0x11, 0x25, 0x0B, 0x6F, 0x8D, 0x40, 0x04}};
constexpr GUID Playback = {0x7B0D52A4, 0x0C3E, 0x4E55, {0x8A, 0x90, 0x61, 0x2F, 0x3D, 0x14, 0xC7, 0x5E}};
constexpr GUID Order = {0x7B0D52A4, 0x0C3E, 0x4E55, {0x8A, 0x90, 0x61, 0x2F, 0x3D, 0x14, 0xC7, 0x5F}};
}  // namespace menus

struct host_command {
  GUID guid;
  const char* name;
};

// Two commands in one group; executing the second throws while told to.
class host_commands final : public counted_service<command_provider> {
 public:
  host_commands(const GUID& parent, uint32_t priority, host_command first, host_command second);
  uint32_t get_command_count() override { return 2; }
  GUID get_command(uint32_t index) override;
  GUID get_parent() override;
  uint32_t get_sort_priority() override { return priority_; }
  bool get_display(uint32_t index, string_base& out, uint32_t& flags) override;
  void execute(uint32_t index, service_base* context) override;
  bool throws = false;
  int executed[2] = {0, 0};

 private:
  GUID parent_;
  uint32_t priority_;
  host_command commands_[2];
};

// Finds a command among the providers it was given; keeps the GUID it was last asked for.
class host_resolver final : public counted_service<command_resolver> {
 public:
  host_resolver(host_commands& first, host_commands& second) : providers_{&first, &second} {}
  bool find_command(const GUID* command, command_provider*& out, uint32_t& index) override;
  GUID asked{};

 private:
  host_commands* providers_[2];
};

// A menu group; one with a name is a popup and answers the popup interface.
class host_menu_group final : public counted_service<menu_group_popup> {
 public:
  host_menu_group(const GUID& guid, const GUID& parent, uint32_t priority, const char* popupName);
  bool service_query(service_base*& out, const GUID& guid) override;
  GUID get_guid() override;
  GUID get_parent() override;
  uint32_t get_sort_priority() override { return priority_; }
  void get_display_string(string_base& out) override { out.set_string(name_, strlen(name_)); }

 private:
  GUID guid_, parent_;
  uint32_t priority_;
  const char* name_;
};

class host_callbacks final : public counted_service<play_callback_manager> {
 public:
  void register_callback(play_callback* callback, uint32_t flags, bool forward_status) override;
  void unregister_callback(play_callback* callback) override;
  play_callback* registered = nullptr;
  uint32_t flags = 0;
  bool forward_status = true;
  int unregistered = 0;
};

class host_information_text final : public counted_service<host_information> {
 public:
  const char* get_text() override;
  bool faults = false;  // get_text writes through a null pointer
};

class host_page_callback final : public counted_service<page_callback> {
 public:
  void on_state_changed() override;
  bool throws = false;
  int calls = 0;
};

struct player_host {
  player_host();
  host_services api;
  host_playback playback;
  host_commands commands{menus::Playback, 5, {menus::Play, "Play"}, {menus::Throwing, "Throwing"}};
  host_commands order_commands{menus::Order, 2, {menus::Shuffle, "Shuffle"}, {menus::Repeat, "Repeat"}};
  host_resolver resolver{commands, order_commands};
  host_menu_group group{menus::Playback, GUID{}, 1, "Playback"};
  host_menu_group section{menus::Order, menus::Playback, 3, nullptr};
  host_callbacks callbacks;
  host_information_text information;
  host_page_callback page_callback;
  HWND window = nullptr;  // the player's main window
};

// The loaded component and its three services.
struct component {
  HMODULE module = nullptr;
  client_object* client = nullptr;
  preferences_page_v3* page = nullptr;
  initquit* init = nullptr;
  componentversion* version = nullptr;
};

// The component's configuration variables.
constexpr GUID SensitivityId = {0x46BDBF9D, 0x9A8C, 0x48CB, {0xA5, 0xA1, 0xBC, 0x84, 0x26, 0x5C, 0xC9, 0xCD}};
constexpr GUID FlagId = {0x88363A70, 0x55BA, 0x420B, {0xA4, 0x0F, 0x92, 0xEF, 0x01, 0x73, 0xF4, 0x6D}};
constexpr GUID ListId = {0x440A3A2D, 0x0741, 0x49DA, {0xAA, 0x89, 0xE9, 0xB2, 0x84, 0xFE, 0x10, 0xE2}};
constexpr GUID CornerId = {0x12256272, 0x3778, 0x4E9B, {0x83, 0xBE, 0xD0, 0x51, 0x47, 0x04, 0x7E, 0xEC}};
constexpr GUID ScreenId = {0x3FF1550A, 0x74EE, 0x4EE3, {0xBA, 0xAB, 0x1A, 0xBC, 0x21, 0x8E, 0x4F, 0xCB}};
constexpr GUID FullscreenId = {0x4E6F921F, 0xDF3A, 0x4D50, {0xB2, 0xF5, 0xAF, 0x38, 0xBF, 0xCC, 0x39, 0xEC}};

// Reads `bytes` as the stored configuration; answers false when the read failed.
bool ReadConfiguration(component& loaded, const byte_string& bytes);
byte_string WriteConfiguration(component& loaded);

// Dispatches the first message waiting for this thread; when none waits, waits at most
// `milliseconds` for one to come.
void DispatchOneOrWait(DWORD milliseconds);

// Dispatches this thread's messages, one at a time, until `condition()` holds, at most 30
// seconds, which only a wait that would never succeed takes, even in an emulated machine;
// answers whether it held.
template <class Condition>
[[nodiscard]] bool PumpUntil(Condition condition) {
  const DWORD start = GetTickCount();
  DispatchOneOrWait(0);
  bool held = condition();
  while (!held && GetTickCount() - start < 30000) {
    DispatchOneOrWait(10);
    held = condition();
  }
  return held;
}

// The groups of checks, in the order main runs them.
bool RunLoadingChecks(player_host& host, component& loaded);
void RunConfigurationChecks(player_host& host, component& loaded);
void RunFailureChecks(player_host& host, component& loaded);
void RunInboundFailureChecks(player_host& host, component& loaded);
void RunTypeInformationChecks(player_host& host, component& loaded);
void RunAbandonedFrameChecks(player_host& host, component& loaded);
void RunConventionChecks(player_host& host, component& loaded);
void RunWindowChecks(player_host& host, component& loaded);
