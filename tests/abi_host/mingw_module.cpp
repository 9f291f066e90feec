// Another component of the player's process, built with MinGW against the shared GCC
// runtime DLLs, as a component that shares them with others is. Its exceptions are unwound
// by the runtime DLL's unwinder, which holds its unwind tables.
#include <stdexcept>

extern "C" __declspec(dllexport) int __cdecl mingw_module_catches_its_own(int value) {
  try {
    if (value != 0) throw std::runtime_error("the MinGW module's own");
  } catch (const std::exception& error) {
    return error.what()[0] == 't' ? value : -1;
  }
  return 0;
}
