// A host of the player's ABI, built with the player's compiler, that loads the component
// library from its own folder and checks every kind of call across the boundary.
#include "host.h"

namespace {

// The folder of this program, with a trailing backslash.
void ProgramFolder(wchar_t (&folder)[520]) {
  const DWORD length = GetModuleFileNameW(nullptr, folder, 500);
  DWORD end = length;
  while (end > 0 && folder[end - 1] != L'\\' && folder[end - 1] != L'/') --end;
  folder[end] = 0;
}

void InFolder(const wchar_t* folder, const wchar_t* file, wchar_t (&path)[520]) {
  size_t at = 0;
  for (const wchar_t* from = folder; *from && at < 500; ++from) path[at++] = *from;
  for (const wchar_t* from = file; *from && at < 518; ++from) path[at++] = *from;
  path[at] = 0;
}

// The service a factory of the list hands out, queried for the interface T.
template <class T>
T* ServiceOf(service_factory* factory) {
  service_base* instance = nullptr;
  factory->instance_create(instance);
  if (!instance) return nullptr;
  service_base* wanted = nullptr;
  const bool found = instance->service_query(wanted, T::class_guid);
  instance->service_release();
  if (!found || !wanted) return nullptr;
  wanted->service_release();  // the component's services live as long as the library
  return static_cast<T*>(wanted);
}

}  // namespace

// A MinGW-built component that another maker could have put in the player: it throws and
// catches its own exceptions through the shared GCC runtime DLL that it imports, named after
// its unwinder: DWARF-2 tables on 32-bit x86, the system's unwind tables on x64.
using catches_own_function = int(__cdecl*)(int value);
constexpr const wchar_t* GccRuntime = Is64Bit ? L"libgcc_s_seh-1.dll" : L"libgcc_s_dw2-1.dll";

catches_own_function LoadMingwModule(const wchar_t* folder) {
  wchar_t path[520];
  InFolder(folder, L"mingw_module.dll", path);
  const HMODULE module = LoadLibraryW(path);
  if (!check(module != nullptr, "the MinGW-built module loads before the component", module ? nullptr : "error %u",
             unsigned(GetLastError())))
    return nullptr;
  check(GetModuleHandleW(GccRuntime) != nullptr, "the shared GCC runtime DLL is in the process");
  return reinterpret_cast<catches_own_function>(GetProcAddress(module, "mingw_module_catches_its_own"));
}

void CheckMingwModuleCatches(catches_own_function catches, const char* when) {
  check(catches && catches(7) == 7, "the MinGW-built module catches its own exception", "%s", when);
}

bool RunLoadingChecks(player_host& host, component& loaded, bool withMingwModule) {
  wchar_t folder[520], path[520];
  ProgramFolder(folder);
  bool runtimeBeside = false;
  static const wchar_t* const runtimes[] = {GccRuntime, L"libstdc++-6.dll", L"libwinpthread-1.dll"};
  for (const wchar_t* runtime : runtimes) {
    InFolder(folder, runtime, path);
    runtimeBeside |= GetFileAttributesW(path) != InvalidFileAttributes;
  }
  if (withMingwModule) {
    check(runtimeBeside, "the host's folder holds the MinGW runtime libraries of the other module");
  } else {
    check(!runtimeBeside, "the host's folder holds no MinGW runtime library");
  }

  InFolder(folder, L"moxel_control.dll", path);
  loaded.module = LoadLibraryW(path);
  if (!check(loaded.module != nullptr, "LoadLibraryW loads moxel_control.dll from the host's folder",
             loaded.module ? nullptr : "error %u", unsigned(GetLastError())))
    return false;

  const auto entry = reinterpret_cast<get_interface_function>(GetProcAddress(loaded.module, "quorbel_get_interface"));
  if (!check(entry != nullptr, "quorbel_get_interface is exported by its plain name")) return false;
  loaded.client = entry(&host.api, nullptr);
  if (!check(loaded.client != nullptr, "the export hands out a client object")) return false;
  check(entry(&host.api, reinterpret_cast<void*>(0x1234)) == loaded.client, "a second call hands out the same object");
  const uint32_t version = loaded.client->get_version();
  check(version == 78, "the client object's version is 78", "%u", unsigned(version));

  static const GUID listed[3] = {preferences_page::class_guid, initquit::class_guid, componentversion::class_guid};
  service_factory* factories[3] = {};
  unsigned count = 0;
  bool inOrder = true;
  for (service_factory* factory = loaded.client->get_service_list(); factory && count < 4; factory = factory->next) {
    if (count < 3) {
      factories[count] = factory;
      inOrder &= *factory->class_guid == listed[count];
    }
    ++count;
  }
  if (!check(count == 3 && inOrder,
             "the service list holds preferences page, initquit, componentversion, in that order", "%u factories",
             count))
    return false;
  loaded.page = ServiceOf<preferences_page_v3>(factories[0]);
  loaded.init = ServiceOf<initquit>(factories[1]);
  loaded.version = ServiceOf<componentversion>(factories[2]);
  return check(loaded.page && loaded.init && loaded.version, "each factory hands out its service");
}

// With --with-mingw-module, another MinGW-built module and its runtime DLLs are loaded into
// the process before the component, and are checked again after it.
int main(int argc, char** argv) {
  const bool withMingwModule = argc > 1 && strcmp(argv[1], "--with-mingw-module") == 0;
  WatchRaisedExceptions();
  StartWatchdog(240);
  catches_own_function mingwModuleCatches = nullptr;
  if (withMingwModule) {
    wchar_t folder[520];
    ProgramFolder(folder);
    note("another MinGW-built module");
    mingwModuleCatches = LoadMingwModule(folder);
    CheckMingwModuleCatches(mingwModuleCatches, "before the component loads");
  }
  player_host host;
  host.window = CreateWindowExW(0, L"STATIC", L"quorbel", OverlappedWindow | Visible, 700, 600, 300, 200, nullptr,
                                nullptr, nullptr, nullptr);
  component loaded;
  note("loading");
  if (RunLoadingChecks(host, loaded, withMingwModule)) {
    note("configuration");
    RunConfigurationChecks(host, loaded);
    note("component failures in the host");
    RunFailureChecks(host, loaded);
    note("type information of component failures in the host");
    RunTypeInformationChecks(host, loaded);
    note("frames abandoned by the host's __except");
    RunAbandonedFrameChecks(host, loaded);
    note("host failures through the component");
    RunInboundFailureChecks(host, loaded);
    note("calling conventions");
    RunConventionChecks(host, loaded);
    note("windows");
    RunWindowChecks(host, loaded);
    if (withMingwModule) CheckMingwModuleCatches(mingwModuleCatches, "with the component loaded");
    check(FreeLibrary(loaded.module) != 0, "the library unloads");
  }
  if (withMingwModule) CheckMingwModuleCatches(mingwModuleCatches, "after the component unloaded");
  DestroyWindow(host.window);
  PrintSummary();
  return FailedChecks() == 0 ? 0 : 1;
}
