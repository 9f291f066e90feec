#include "tests/wine/gdi_counter.h"

#include <cstring>
#include <set>

namespace gdi_counter {
namespace {

std::set<HGDIOBJ> g_live;
size_t g_created = 0;

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
};

}  // namespace

void Attach(HMODULE module) {
  auto* base = reinterpret_cast<BYTE*>(module);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); library->Name;
       ++library) {
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const char* name = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name;
      for (const hook& h : Hooks) {
        if (std::strcmp(name, h.name) != 0) continue;
        DWORD protection;
        VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
        slots->u1.Function = reinterpret_cast<DWORD_PTR>(h.replacement);
        VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
      }
    }
  }
}

size_t Outstanding() { return g_live.size(); }
size_t Created() { return g_created; }

}  // namespace gdi_counter
