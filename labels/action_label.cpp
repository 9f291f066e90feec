#include "host/player/player.h"
#include "labels/labels.h"

std::wstring ActionLabel(const GUID& action) {
  if (std::optional<std::wstring> name = player::command_name(action)) return *std::move(name);
  return guid_is_null(action) ? L"<not set>" : L"<unknown>";
}
