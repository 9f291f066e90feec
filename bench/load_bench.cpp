// Loading the component and calling its export, against loading a library that has the same
// export and nothing else, in a process that has what a player has loaded already.
#include <cstdio>
#include <initializer_list>

#include "bench_support.h"
#include "host/player/interfaces/client_object.h"

namespace {

double LoadAndCall(const std::wstring& path, int rounds) {
  return Fastest(rounds, [&] {
    HMODULE module = LoadLibraryW(path.c_str());
    auto entry = reinterpret_cast<quorbel_get_interface_proc>(
        reinterpret_cast<void*>(GetProcAddress(module, "quorbel_get_interface")));
    if (entry) entry(nullptr, nullptr);
    FreeLibrary(module);
  });
}

}  // namespace

int main() {
  // A player has these loaded before it loads components.
  for (const wchar_t* library : {L"user32.dll", L"gdi32.dll", L"comctl32.dll"}) LoadLibraryW(library);
  LoadLibraryW((BinFolder() + L"\\shared.dll").c_str());
  const std::wstring component = BinFolder() + L"\\moxel_control.dll";
  const std::wstring empty = BinFolder() + L"\\empty_component.dll";
  LoadAndCall(component, 3);  // warm the file cache for both
  LoadAndCall(empty, 3);
  const double baseline = LoadAndCall(empty, 50);
  const double measured = LoadAndCall(component, 50);
  std::printf("load + export: component %.1f us, empty library %.1f us, ratio %.2f\n", measured * 1e6, baseline * 1e6,
              measured / baseline);
  return 0;
}
