#include "labels/labels.h"

#include <cwchar>

namespace {
const wchar_t* const KeyNames[] = {L"<not set>",      L"Left click",     L"Right click", L"Middle click",
                                   L"XButton1 click", L"XButton2 click", L"Left flip",   L"Right flip"};
}  // namespace

const wchar_t* KeyLabel(uint32_t mouseKey) {
  return mouseKey < sizeof KeyNames / sizeof KeyNames[0] ? KeyNames[mouseKey] : L"<unknown key>";
}

void ModifierLabel(uint32_t modifiers, wchar_t (&label)[ModifierLabelCapacity]) {
  label[0] = L'\0';
  const struct {
    uint32_t bit;
    const wchar_t* word;
  } words[] = {{ModifierCtrl, L"Ctrl"}, {ModifierAlt, L"Alt"}, {ModifierShift, L"Shift"}};
  for (const auto& word : words) {
    if (!(modifiers & word.bit)) continue;
    if (label[0]) std::wcscat(label, L" + ");
    std::wcscat(label, word.word);
  }
}

std::wstring PlainClickSummary(const list_t<MouseActionItem>& bindings, std::wstring (*actionLabel)(const GUID&)) {
  std::wstring summary;
  for (uint32_t key = LeftClick; key <= XButton2Click; ++key) {
    std::wstring commands;
    for (const MouseActionItem& item : bindings) {
      if (item.mouseKey != key || item.modifiers != 0) continue;
      if (!commands.empty()) commands += L", ";
      commands += actionLabel(item.action);
    }
    if (commands.empty()) continue;
    if (!summary.empty()) summary += L"; ";
    summary += KeyLabel(key) + std::wstring(L": ") + commands;
  }
  return summary;
}
