// State the host hands the component through its export and the client object.
#pragma once

#include <string>

#include "host/player/interfaces/client_object.h"

extern "C" client_object* quorbel_get_interface(host_api_object* api, void* context);

// The second text of the host's latest take-texts call; empty before the first.
const std::string& ReceivedFileName();
