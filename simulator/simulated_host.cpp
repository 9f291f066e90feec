#include "simulator/simulated_host.h"

simulated_host::simulated_host()
    : callbacks_(new play_callback_registry), playback_(new simulated_playback(*callbacks_, InitialVolumeDb)) {
  registry_.Add(play_callback_manager::class_guid, callbacks_);
  registry_.Add(playback_control::class_guid, playback_);
  registry_.Add(host_information::class_guid, new host_info_service(InformationText));
  InstallMainMenu(registry_, executed_, *playback_);
}
