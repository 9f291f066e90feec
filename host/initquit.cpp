#include "host/initquit.h"

#include "moxel/moxel_window.h"

void myinitquit::on_init() { g_moxel_window.Create(); }

void myinitquit::on_quit() { g_moxel_window.Destroy(); }
