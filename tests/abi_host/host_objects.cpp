// The host's own objects that the component calls.
#include "host.h"

int disk_error::live = 0;
int plain_error::live = 0;
int disk_error::copies = 0;

void host_string::add_string(const char* text, size_t length) {
  if (length > sizeof text_ - 1 - length_) length = sizeof text_ - 1 - length_;
  memcpy(text_ + length_, text, length);
  length_ += length;
  text_[length_] = 0;
}

void host_string::truncate(size_t length) {
  if (length < length_) length_ = length;
  text_[length_] = 0;
}

char* host_string::lock_buffer(size_t length) {
  if (length > sizeof text_ - 1) return nullptr;
  memset(text_, 0, sizeof text_);
  length_ = 0;
  return text_;
}

// ---- Host API object
void host_services::Add(const GUID& cls, service_base* instance) {
  service_class* entry = reinterpret_cast<service_class*>(find_class(cls));
  if (!entry) {
    if (used_ == sizeof classes_ / sizeof classes_[0]) return;
    entry = &classes_[used_++];
    entry->cls = cls;
    entry->count = 0;
  }
  if (entry->count < sizeof entry->instances / sizeof entry->instances[0]) entry->instances[entry->count++] = instance;
}

void host_services::Remove(const GUID& cls, service_base* instance) {
  service_class* entry = reinterpret_cast<service_class*>(find_class(cls));
  if (!entry) return;
  for (uint32_t i = 0; i < entry->count; ++i) {
    if (entry->instances[i] != instance) continue;
    for (uint32_t j = i + 1; j < entry->count; ++j) entry->instances[j - 1] = entry->instances[j];
    --entry->count;
    return;
  }
}

service_class_handle host_services::find_class(const GUID& cls) {
  for (uint32_t i = 0; i < used_; ++i)
    if (classes_[i].cls == cls) return reinterpret_cast<service_class_handle>(&classes_[i]);
  return nullptr;
}

bool host_services::create_instance(service_base*& out, service_class_handle cls, uint32_t index) {
  const service_class* entry = reinterpret_cast<const service_class*>(cls);
  if (!entry || index >= entry->count) return false;
  service_base* instance = entry->instances[index];
  instance->service_add_ref();
  if (out) out->service_release();
  out = instance;
  return true;
}

uint32_t host_services::count_instances(service_class_handle cls) {
  const service_class* entry = reinterpret_cast<const service_class*>(cls);
  return entry ? entry->count : 0;
}

player_host::player_host() {
  api.Add(playback_control::class_guid, &playback);
  api.Add(command_provider::class_guid, &commands);
  api.Add(command_provider::class_guid, &order_commands);
  api.Add(command_resolver::class_guid, &resolver);
  api.Add(menu_group::class_guid, &group);
  api.Add(menu_group::class_guid, &section);
  api.Add(play_callback_manager::class_guid, &callbacks);
  api.Add(host_information::class_guid, &information);
}

// ---- Rethrows
namespace {
rethrow* g_rethrow = nullptr;
EXCEPTION_RECORD* g_in_flight = nullptr;

// The host compiler's own throw information of disk_error, as a throw raises it.
const raised_exception& DiskErrorThrow() {
  static raised_exception raised{};
  if (!raised.info) {
    try {
      throw disk_error("sample", 0);
    } catch (const disk_error&) {
      raised = g_last_raised;
    }
  }
  return raised;
}
}  // namespace

extern "C" __declspec(dllexport) void** __cdecl __current_exception() { return reinterpret_cast<void**>(&g_in_flight); }

rethrow::rethrow(rethrow_site site) : site_(site) {
  const raised_exception& sample = DiskErrorThrow();
  disk_error* object = new (object_) disk_error("disk on fire", 4711);
  in_flight_.ExceptionCode = CppExceptionCode;
  in_flight_.ExceptionFlags = NonContinuable;
  in_flight_.NumberParameters = CppThrowParameters;
  in_flight_.ExceptionInformation[0] = CppThrowMagic;
  in_flight_.ExceptionInformation[1] = reinterpret_cast<uintptr_t>(object);
  in_flight_.ExceptionInformation[2] = reinterpret_cast<uintptr_t>(sample.info);
  in_flight_.ExceptionInformation[3] = sample.image_base;
  g_in_flight = &in_flight_;
  g_rethrow = this;
}

rethrow::~rethrow() {
  g_in_flight = nullptr;
  g_rethrow = nullptr;
  // Once raised, the object in flight is for the handler that ends the rethrow to destroy.
  if (!raised) reinterpret_cast<disk_error*>(object_)->~disk_error();
}

void RethrowIfTold(rethrow_site site) {
  if (!g_rethrow || g_rethrow->site_ != site) return;
  ++g_rethrow->raised;
  g_rethrow = nullptr;
  const uintptr_t rethrown[CppThrowParameters] = {CppThrowMagic};
  RaiseException(CppExceptionCode, NonContinuable, CppThrowParameters, rethrown);
}

// ---- Streams
void memory_reader::FailHere() {
  const failure fails = fails_;
  fails_ = None;
  if (fails == Truncation) throw quorbel_io::exception_io_data_truncation();
  if (fails == Plain) throw plain_error(4711);
  if (fails == CopyFailing) throw copy_failing_error();
  throw disk_error("disk on fire", 4711);
}

size_t memory_reader::read(void* buffer, size_t bytes, abort_callback*) {
  RethrowIfTold(rethrow_site::reader);
  if (fails_ != None && position_ == fail_at_) FailHere();
  const size_t left = bytes_.size - position_;
  if (bytes > left) bytes = left;
  memcpy(buffer, bytes_.data + position_, bytes);
  position_ += bytes;
  return bytes;
}

void memory_reader::read_object(void* buffer, size_t bytes, abort_callback* abort) {
  if (read(buffer, bytes, abort) != bytes) throw quorbel_io::exception_io_data_truncation();
}

uint64_t memory_reader::skip(uint64_t bytes, abort_callback*) {
  if (fails_ != None && position_ == fail_at_) FailHere();
  const size_t left = bytes_.size - position_;
  if (bytes > left) bytes = left;
  position_ += size_t(bytes);
  return bytes;
}

void memory_reader::skip_object(uint64_t bytes, abort_callback* abort) {
  if (skip(bytes, abort) != bytes) throw quorbel_io::exception_io_data_truncation();
}

void memory_writer::write(const void* buffer, size_t bytes, abort_callback*) {
  RethrowIfTold(rethrow_site::writer);
  if (fails_) throw disk_error("disk on fire", 4711);
  this->bytes.raw(buffer, bytes);
}

// ---- Services
const char* host_information_text::get_text() {
  if (faults) *static_cast<volatile int*>(nullptr) = 1;
  return "abi-host";
}

void host_playback::set_volume(float db) {
  RethrowIfTold(rethrow_site::set_volume);
  ++set_calls;
  if (set_throws) throw std::runtime_error("set volume failed");
  volume = db;
}

int g_misdirected_guid_calls = 0;

namespace {
const void* g_guid_answerers[8];
unsigned g_guid_answerer_count = 0;
}  // namespace

void RegisterGuidAnswerer(const void* object) {
  if (g_guid_answerer_count < sizeof g_guid_answerers / sizeof g_guid_answerers[0])
    g_guid_answerers[g_guid_answerer_count++] = object;
}

void RequireGuidAnswerer(const void* object) {
  for (unsigned i = 0; i < g_guid_answerer_count; ++i)
    if (g_guid_answerers[i] == object) return;
  ++g_misdirected_guid_calls;
  throw std::runtime_error("GUID slot called with the result's address in " OBJECT_REGISTER);
}

host_commands::host_commands(const GUID& parent, uint32_t priority, host_command first, host_command second)
    : parent_(parent), priority_(priority), commands_{first, second} {
  RegisterGuidAnswerer(this);
}

GUID host_commands::get_command(uint32_t index) {
  RequireGuidAnswerer(this);
  return commands_[index & 1].guid;
}

GUID host_commands::get_parent() {
  RequireGuidAnswerer(this);
  return parent_;
}

host_menu_group::host_menu_group(const GUID& guid, const GUID& parent, uint32_t priority, const char* popupName)
    : guid_(guid), parent_(parent), priority_(priority), name_(popupName) {
  RegisterGuidAnswerer(this);
}

GUID host_menu_group::get_guid() {
  RequireGuidAnswerer(this);
  return guid_;
}

GUID host_menu_group::get_parent() {
  RequireGuidAnswerer(this);
  return parent_;
}

bool host_commands::get_display(uint32_t index, string_base& out, uint32_t& flags) {
  flags = 0;
  const char* name = commands_[index & 1].name;
  out.set_string(name, strlen(name));
  return true;
}

void host_commands::execute(uint32_t index, service_base*) {
  RethrowIfTold(rethrow_site::execute);
  ++executed[index & 1];
  if (index == 1 && throws) throw std::runtime_error("execute failed");
}

bool host_resolver::find_command(const GUID* command, command_provider*& out, uint32_t& index) {
  asked = *command;
  for (host_commands* provider : providers_) {
    for (uint32_t i = 0; i < provider->get_command_count(); ++i) {
      if (!(provider->get_command(i) == *command)) continue;
      provider->service_add_ref();
      if (out) out->service_release();
      out = provider;
      index = i;
      return true;
    }
  }
  return false;
}

bool host_menu_group::service_query(service_base*& out, const GUID& guid) {
  const bool popup = name_ && guid == menu_group_popup::class_guid;
  if (!popup && !(guid == menu_group::class_guid)) return false;
  Hand(out);
  return true;
}

void host_callbacks::register_callback(play_callback* callback, uint32_t mask, bool forward) {
  registered = callback;
  flags = mask;
  forward_status = forward;
}

void host_callbacks::unregister_callback(play_callback* callback) {
  if (callback == registered) registered = nullptr;
  ++unregistered;
}

void host_page_callback::on_state_changed() {
  ++calls;
  if (throws) throw std::runtime_error("state listener failed");
}

// ---- Configuration and messages
bool ReadConfiguration(component& loaded, const byte_string& bytes) {
  memory_reader in(bytes);
  abort_flag running;
  try {
    loaded.client->config_read(&in, &running);
    return true;
  } catch (const std::exception& error) {
    note("reading the configuration failed: %s", error.what());
  } catch (...) {
    note("reading the configuration failed with an exception of no known class");
  }
  return false;
}

byte_string WriteConfiguration(component& loaded) {
  memory_writer out;
  abort_flag running;
  try {
    loaded.client->config_write(&out, &running);
  } catch (const std::exception& error) {
    note("writing the configuration failed: %s", error.what());
  } catch (...) {
    note("writing the configuration failed with an exception of no known class");
  }
  return out.bytes;
}

void DispatchOneOrWait(DWORD milliseconds) {
  MSG message;
  if (PeekMessageW(&message, nullptr, 0, 0, PeekRemove)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  } else {
    MsgWaitForMultipleObjects(0, nullptr, 0, milliseconds, WakeAllInput);
  }
}
