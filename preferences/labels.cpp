#include "preferences/labels.h"

#include <cwchar>

#include "moxel/mouse_action.h"

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
