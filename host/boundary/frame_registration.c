/* The start file linked in place of the toolchain's crtbegin.o. Its constructor registers the
 * module's unwind tables with the unwinder linked into the module. The toolchain's own asks
 * first whether the shared GCC runtime DLL is loaded, and if so registers the tables with
 * that DLL's unwinder instead; then the module's own throws, unwound by its own static
 * unwinder, find no frames and end the process. Any other GCC-built module of the process
 * may have loaded that DLL.
 *
 * The toolchain's crtend.o calls __gcc_register_frame from the module's constructors; the
 * tables begin where this file's empty .eh_frame contribution lies, just after the start
 * code's own. */
#include <stdlib.h>

/* The unwinder's per-module record of registered tables; its layout is the unwinder's own,
 * and it takes no more than these words. */
struct object {
  void* words[8];
};

void __register_frame_info(const void* begin, struct object* registered);
void* __deregister_frame_info(const void* begin);

static const char eh_frame_begin[] __attribute__((used, section(".eh_frame"), aligned(4))) = {};
static struct object registered;

static void __gcc_deregister_frame(void) { __deregister_frame_info(eh_frame_begin); }

void __gcc_register_frame(void) {
  __register_frame_info(eh_frame_begin, &registered);
  atexit(__gcc_deregister_frame);
}
