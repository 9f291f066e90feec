#include "host/player/player.h"
#include "labels/labels.h"

std::wstring ActionLabel(const GUID& action) {
  std::wstring name;
  if (player::CommandName(action, name)) return name;
  return guid_is_null(action) ? L"<not set>" : L"<unknown>";
}
