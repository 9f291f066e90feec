// Resource identifiers of the component library.
#pragma once

#define IDB_MOXEL_NORMAL 101
#define IDB_MOXEL_HOVER 102
#define IDB_VOLUME_STRIP 103
#define IDD_PREFERENCES 104

// Controls of the preferences page.
#define IDC_CAPTION_BINDINGS 1001
#define IDC_BINDINGS 1002
#define IDC_ADD 1003
#define IDC_REMOVE 1004
#define IDC_CAPTION_ACTION 1005
#define IDC_FILTER_LABEL 1006
#define IDC_FILTER 1007
#define IDC_COMMANDS 1008
#define IDC_CAPTION_INPUT 1009
#define IDC_KEY 1010
#define IDC_CTRL 1011
#define IDC_ALT 1012
#define IDC_SHIFT 1013
#define IDC_CAPTION_WHEEL 1014
#define IDC_SENSITIVITY 1015
#define IDC_CORNER 1016
