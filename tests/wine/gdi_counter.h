// Counts the GDI objects a loaded library creates and deletes, and the WinEvent hooks and
// timers it sets and ends, by patching the library's import address table: the system's own
// counter (GetGuiResources) answers 0 under Wine, and nothing lists hooks or timers.
#pragma once

#include <windows.h>

#include <cstddef>

namespace gdi_counter {

// Interposes on `module`'s imports that create or delete GDI objects (bitmaps from
// resources, device contexts, fonts, brushes, pens), set or remove WinEvent hooks, and set or
// kill timers. Stays in force until the module unloads.
void Attach(HMODULE module);
// Points `module`'s import `name` at `replacement` instead.
void ReplaceImport(HMODULE module, const char* name, void* replacement);

// Objects created through the patched imports and not deleted yet.
size_t Outstanding();
// Objects created through the patched imports since the first Attach.
size_t Created();

// WinEvent hooks set through the patched imports and not removed yet.
size_t OutstandingWinEventHooks();
// Timers set through the patched imports and not killed yet, but for those of windows that
// are gone, which went with their window.
size_t OutstandingTimers();

}  // namespace gdi_counter
