#include "component/initquit.h"

#include "host/boundary/boundary.h"
#include "volumebar/volume_bar.h"

CMoxelWindow g_moxel_window;

namespace {
std::unique_ptr<window_impl_base> MakeVolumeBar(const moxel_anchor& beside) {
  auto bar = std::make_unique<CVolumeBar>();
  bar->Create(beside);
  return bar;
}
}  // namespace

void myinitquit::on_init() {
  boundary::serve([] {
    g_moxel_window.SetVolumeBarMaker(&MakeVolumeBar);
    g_moxel_window.Create();
  });
}

void myinitquit::on_quit() {
  boundary::serve([] { g_moxel_window.Destroy(); });
}
