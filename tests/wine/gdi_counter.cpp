#include "tests/wine/gdi_counter.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <utility>

namespace gdi_counter {
namespace {

std::set<HGDIOBJ> g_live;
size_t g_created = 0;
std::set<HWINEVENTHOOK> g_hooks;
std::set<std::pair<HWND, UINT_PTR>> g_timers;  // window and id; no window and the answered id

template <class Handle>
Handle Track(Handle handle) {
  if (handle) {
    g_live.insert(handle);
    ++g_created;
  }
  return handle;
}

BOOL Untrack(HGDIOBJ handle, BOOL deleted) {
  if (deleted) g_live.erase(handle);
  return deleted;
}

HBITMAP WINAPI HookLoadBitmapW(HINSTANCE instance, LPCWSTR name) { return Track(LoadBitmapW(instance, name)); }
HDC WINAPI HookCreateCompatibleDC(HDC dc) { return Track(CreateCompatibleDC(dc)); }
HFONT WINAPI HookCreateFontIndirectW(const LOGFONTW* font) { return Track(CreateFontIndirectW(font)); }
HBRUSH WINAPI HookCreateSolidBrush(COLORREF color) { return Track(CreateSolidBrush(color)); }
HPEN WINAPI HookCreatePen(int style, int width, COLORREF color) { return Track(CreatePen(style, width, color)); }
BOOL WINAPI HookDeleteDC(HDC dc) { return Untrack(dc, DeleteDC(dc)); }
BOOL WINAPI HookDeleteObject(HGDIOBJ object) { return Untrack(object, DeleteObject(object)); }

HWINEVENTHOOK WINAPI HookSetWinEventHook(DWORD first, DWORD last, HMODULE module, WINEVENTPROC callback, DWORD process,
                                         DWORD thread, DWORD flags) {
  const HWINEVENTHOOK hook = SetWinEventHook(first, last, module, callback, process, thread, flags);
  if (hook) g_hooks.insert(hook);
  return hook;
}
BOOL WINAPI HookUnhookWinEvent(HWINEVENTHOOK hook) {
  const BOOL removed = UnhookWinEvent(hook);
  if (removed) g_hooks.erase(hook);
  return removed;
}
UINT_PTR WINAPI HookSetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC callback) {
  const UINT_PTR set = SetTimer(window, id, milliseconds, callback);
  if (set) g_timers.insert({window, window ? id : set});
  return set;
}
BOOL WINAPI HookKillTimer(HWND window, UINT_PTR id) {
  const BOOL killed = KillTimer(window, id);
  if (killed) g_timers.erase({window, id});
  return killed;
}

struct hook {
  const char* name;
  void* replacement;
};

const hook Hooks[] = {
    {"LoadBitmapW", reinterpret_cast<void*>(HookLoadBitmapW)},
    {"CreateCompatibleDC", reinterpret_cast<void*>(HookCreateCompatibleDC)},
    {"CreateFontIndirectW", reinterpret_cast<void*>(HookCreateFontIndirectW)},
    {"CreateSolidBrush", reinterpret_cast<void*>(HookCreateSolidBrush)},
    {"CreatePen", reinterpret_cast<void*>(HookCreatePen)},
    {"DeleteDC", reinterpret_cast<void*>(HookDeleteDC)},
    {"DeleteObject", reinterpret_cast<void*>(HookDeleteObject)},
    {"SetWinEventHook", reinterpret_cast<void*>(HookSetWinEventHook)},
    {"UnhookWinEvent", reinterpret_cast<void*>(HookUnhookWinEvent)},
    {"SetTimer", reinterpret_cast<void*>(HookSetTimer)},
    {"KillTimer", reinterpret_cast<void*>(HookKillTimer)},
};

}  // namespace

void ReplaceImport(HMODULE module, const char* name, void* replacement) {
  auto* base = reinterpret_cast<BYTE*>(module);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); library->Name;
       ++library) {
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      if (std::strcmp(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name, name) != 0)
        continue;
      DWORD protection;
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
      slots->u1.Function = reinterpret_cast<DWORD_PTR>(replacement);
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
    }
  }
}

void Attach(HMODULE module) {
  for (const hook& h : Hooks) ReplaceImport(module, h.name, h.replacement);
}

size_t Outstanding() { return g_live.size(); }
size_t Created() { return g_created; }

size_t OutstandingWinEventHooks() { return g_hooks.size(); }

size_t OutstandingTimers() {
  return size_t(std::count_if(g_timers.begin(), g_timers.end(), [](const std::pair<HWND, UINT_PTR>& timer) {
    return !timer.first || IsWindow(timer.first);
  }));
}

}  // namespace gdi_counter
