// Texts read back from common controls.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

// The text of a tree view's item (at most 255 characters).
std::wstring TreeItemText(HWND tree, HTREEITEM item);
