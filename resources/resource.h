// Resource identifiers of the component library.
#pragma once

#define IDB_MOXEL_NORMAL 101
#define IDB_MOXEL_HOVER 102
#define IDB_VOLUME_STRIP 103
