#include "host/initquit.h"

#include "host/boundary.h"
#include "moxel/moxel_window.h"

void myinitquit::on_init() {
  boundary::serve([] { g_moxel_window.Create(); });
}

void myinitquit::on_quit() {
  boundary::serve([] { g_moxel_window.Destroy(); });
}
