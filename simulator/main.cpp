// The simulated player: loads the component as the player does, runs it, and reports what
// it saw.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <exception>

#include "host/boundary/boundary.h"
#include "host/player/interfaces/component_services.h"
#include "host/player/string_impl.h"
#include "labels/labels.h"
#include "simulator/stored_config.h"
#include "simulator/memory_streams.h"
#include "simulator/player_session.h"
#include "simulator/screen.h"
#include "simulator/scripted_session.h"

namespace {

std::wstring ExeFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L"\\/"));
}

struct options {
  std::wstring component;
  std::wstring profile;
  std::wstring script;         // a folder for the pictures: play the scripted session
  DWORD dpi = 0;               // a screen density to play at, in a process of its own
  std::wstring others;         // the arguments but the density, quoted
  bool outer_corners = false;  // with a script: only the tour of the desktop's outer corners
  bool help = false;
};

options ParseOptions() {
  options result;
  result.component = ExeFolder() + L"\\moxel_control.dll";
  result.profile = ExeFolder() + L"\\profile";
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; i < count; ++i) {
    const std::wstring name = args[i];
    if (name == L"--dpi" && i + 1 < count) {
      result.dpi = DWORD(_wtoi(args[++i]));
      continue;
    }
    const bool flag = name == L"--help" || name == L"--outer-corners";
    result.others += L" \"" + name + L"\"";
    if (i + 1 < count && !flag) result.others += L" \"" + std::wstring(args[i + 1]) + L"\"";
    if (name == L"--help") {
      result.help = true;
    } else if (name == L"--outer-corners") {
      result.outer_corners = true;
    } else if (i + 1 < count) {
      if (name == L"--component")
        result.component = args[i + 1];
      else if (name == L"--profile")
        result.profile = args[i + 1];
      else if (name == L"--script")
        result.script = args[i + 1];
      ++i;
    }
  }
  LocalFree(args);
  return result;
}

std::string Utf8(const wchar_t* text) {
  char buffer[512];
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
  return bytes > 0 ? std::string(buffer) : std::string();
}

void PrintVersion(player_session& session) {
  service_base* instance = nullptr;
  service_registry& api = session.host.api();
  if (!api.create_instance(instance, api.find_class(componentversion::class_guid), 0)) return;
  auto* version = static_cast<componentversion*>(instance);
  string8_impl file, name, number, about;
  boundary::call([&] {
    version->get_file_name(file);
    version->get_component_name(name);
    version->get_component_version(number);
    version->get_about_message(about);
  });
  std::printf("component: %s %s (%s)\n  %s\n", name.get_ptr(), number.get_ptr(), file.get_ptr(), about.get_ptr());
  instance->service_release();
}

void PrintBindings(player_session& session) {
  memory_writer stream;
  abort_flag abort;
  boundary::call([&] { session.component.client().config_write(&stream, &abort); });
  const auto bindings = StoredBindings(stream.bytes());
  std::printf("bindings: %u\n", unsigned(bindings.size()));
  for (const MouseActionItem& item : bindings) {
    wchar_t modifiers[ModifierLabelCapacity];
    ModifierLabel(item.modifiers, modifiers);
    std::string command = CommandName(session.host.api(), item.action);
    std::printf("  %-15s %-20s %s\n", Utf8(KeyLabel(item.mouseKey)).c_str(), Utf8(modifiers).c_str(),
                command.empty() ? "<unknown>" : command.c_str());
  }
}

void PrintHelp(const options& opts) {
  std::printf(
      "quorbel_sim [--profile FOLDER] [--component PATH] [--script PICTURES [--outer-corners]] [--dpi DPI]\n"
      "Loads the component as the player does and shows the moxel in its corner of the screen\n"
      "(top left until another is chosen on the page). Without --script it runs until its\n"
      "window is closed:\n"
      "  hover      point at the moxel: it grows, and shrinks when the pointer leaves\n"
      "  click      left, right, middle or a side button on it, with or without Ctrl, Alt and\n"
      "             Shift, runs the bound command (shown in the window's title)\n"
      "  flip       press left while holding right on it, or right while holding left\n"
      "  wheel      over the moxel changes the volume and shows the level bar\n"
      "  Preferences...  opens the component's page: edit, Apply, OK\n"
      "  quit       close the window: the configuration is saved to\n"
      "             %s\\%s\n"
      "With --script it plays a fixed session instead and saves pictures in PICTURES; with\n"
      "--outer-corners too, on a desktop of several monitors, only a tour of its outer corners.\n"
      "With --dpi it runs at that screen density of the Wine prefix (96 is the usual).\n",
      Utf8(opts.profile.c_str()).c_str(), Utf8(player_session::ConfigurationName).c_str());
}

// Runs this program again with `arguments`, at the screen density `dpi`; answers its exit
// code.
int RunAtDensity(DWORD dpi, const std::wstring& arguments) {
  prefix_dpi prefix;
  if (dpi < 48 || dpi > 960 || !prefix.Set(dpi)) {
    std::fprintf(stderr, "quorbel simulator: cannot play at %lu dpi\n", dpi);
    return 1;
  }
  wchar_t program[MAX_PATH];
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(program) + L"\"" + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return 1;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return int(code);
}

int Run() {
  const options opts = ParseOptions();
  if (opts.help) {
    PrintHelp(opts);
    return 0;
  }
  if (opts.dpi) return RunAtDensity(opts.dpi, opts.others);
  player_session session(opts.component, opts.profile);
  std::printf("client object version %u\n", session.component.client().get_version());
  for (service_factory_base* factory : session.component.factories())
    std::printf("service {%s}\n", GuidText(factory->get_class_guid()).c_str());
  PrintVersion(session);

  const std::string problem = session.LoadConfiguration();
  if (!problem.empty()) std::printf("configuration not fully read: %s (kept as .unreadable)\n", problem.c_str());
  session.RunInitServices();
  PrintBindings(session);
  if (opts.script.empty()) {
    std::printf(
        "the moxel is in the corner chosen on the page (at first the top left); close the player's window to quit\n");
    RunInteractively(session);
  } else if (opts.outer_corners) {
    if (!TourOuterCorners(session, Utf8(opts.script.c_str()))) std::printf("no moxel on the screen\n");
  } else if (!PlayScriptedSession(session, Utf8(opts.script.c_str()))) {
    std::printf("no moxel on the screen\n");
  } else {
    EditPreferences(session, Utf8(opts.script.c_str()));
    TourCorners(session, Utf8(opts.script.c_str()));
    PrintBindings(session);
  }
  session.RunQuitServices();
  session.SaveConfiguration();
  std::printf("configuration saved\n");
  return 0;
}

}  // namespace

int main() {
  try {
    return Run();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "quorbel simulator: %s\n", error.what());
    return 1;
  }
}
