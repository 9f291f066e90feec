// Counts the GDI objects a loaded library creates and deletes, by patching the library's
// import address table: the system's own counter (GetGuiResources) answers 0 under Wine.
#pragma once

#include <windows.h>

#include <cstddef>

namespace gdi_counter {

// Interposes on `module`'s imports that create or delete GDI objects (bitmaps from
// resources, device contexts, fonts, brushes, pens). Stays in force until the module unloads.
void Attach(HMODULE module);

// Objects created through the patched imports and not deleted yet.
size_t Outstanding();
// Objects created through the patched imports since the first Attach.
size_t Created();

}  // namespace gdi_counter
