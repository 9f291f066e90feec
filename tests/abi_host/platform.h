// The platform as the test host sees it. The host is compiled with the player's compiler and
// neither its C++ library nor its Windows headers are at hand, so it declares the little of
// the C runtime, the C++ runtime and Win32 that it uses.
#pragma once

#include <stdarg.h>
#include <stddef.h>
#include <stdint.h>

// ---- C runtime (msvcrt)
extern "C" {
void* __cdecl malloc(size_t size);
void __cdecl free(void* block);
[[noreturn]] void __cdecl exit(int code);
int __cdecl strcmp(const char* a, const char* b);
int __cdecl strncmp(const char* a, const char* b, size_t count);
size_t __cdecl strlen(const char* text);
void* __cdecl memcpy(void* to, const void* from, size_t size);
int __cdecl memcmp(const void* a, const void* b, size_t size);
void* __cdecl memset(void* to, int value, size_t size);
int __cdecl _vsnprintf(char* buffer, size_t size, const char* format, va_list arguments);

int __cdecl _heapchk();
}
constexpr int HeapOk = -2;  // _HEAPOK

// Placement new, which the C++ library would declare.
inline void* operator new(size_t, void* place) noexcept { return place; }

// ---- The C++ runtime's standard exceptions, in the layout the player's runtime gives them:
// table {scalar deleting destructor, what}, the text, whether the object owns the text.
namespace std {

class exception {
 public:
  exception() noexcept;
  explicit exception(const char* text) noexcept;
  exception(const exception& other) noexcept;
  exception& operator=(const exception& other) noexcept;
  virtual ~exception();
  virtual const char* what() const;

 private:
  void FreeText() noexcept;
  void CopyText(const exception& other) noexcept;

  const char* text_;
  bool owns_text_;
};

class bad_alloc : public exception {
 public:
  bad_alloc() noexcept : exception("bad allocation") {}
};

class runtime_error : public exception {
 public:
  explicit runtime_error(const char* text) noexcept : exception(text) {}
};

}  // namespace std

// How std::exception lies in memory, for looking at objects the host did not make.
struct exception_layout {
  const void* table;
  const char* text;
  bool owns_text;
};
inline const exception_layout& LayoutOf(const std::exception& object) {
  return *reinterpret_cast<const exception_layout*>(&object);
}

// What the runtime counts of the host's std::exception objects.
struct exception_counts {
  unsigned constructed, copied, destroyed, texts_freed;
};
extern exception_counts g_exception_counts;

// ---- Structured exceptions and the C++ throw record
constexpr uint32_t CppExceptionCode = 0xE06D7363;
constexpr uint32_t CppThrowMagic = 0x19930520;
constexpr uint32_t NonContinuable = 1;  // EXCEPTION_NONCONTINUABLE
constexpr bool Is64Bit = sizeof(void*) == 8;
// The registers the player's compiler uses for a member function's object, an integer or
// address result, and a floating-point result, named in the report.
// Also where it passes the address of a result that comes through a hidden pointer.
#if defined(_M_X64)
#define OBJECT_REGISTER "RCX"
#define RESULT_REGISTER "RAX"
#define FLOAT_RESULT_REGISTER "XMM0"
#define RESULT_ADDRESS_PLACE "in RDX"
#else
#define OBJECT_REGISTER "ECX"
#define RESULT_REGISTER "EAX"
#define FLOAT_RESULT_REGISTER "ST(0)"
#define RESULT_ADDRESS_PLACE "on the stack"
#endif
// The magic, the object and the throw information; on x64 also the throwing module's image
// base, from which the throw information's references count.
constexpr uint32_t CppThrowParameters = Is64Bit ? 4 : 3;

struct EXCEPTION_RECORD {
  uint32_t ExceptionCode;
  uint32_t ExceptionFlags;
  EXCEPTION_RECORD* ExceptionRecord;
  void* ExceptionAddress;
  uint32_t NumberParameters;
  uintptr_t ExceptionInformation[15];
};
struct EXCEPTION_POINTERS {
  EXCEPTION_RECORD* ExceptionRecord;
  void* ContextRecord;
};

// A reference within the throw information: an address on 32-bit x86, an offset from the
// throwing module's image base on x64.
template <class T>
struct throw_reference {
#if defined(_M_X64)
  int32_t offset;
  const T* in(uintptr_t imageBase) const {
    return offset ? reinterpret_cast<const T*>(imageBase + uintptr_t(intptr_t(offset))) : nullptr;
  }
#else
  const T* address;
  const T* in(uintptr_t) const { return address; }
#endif
};

struct type_descriptor {
  const void* table;
  void* spare;
  char name[1];
};
struct catchable_type {
  uint32_t properties;
  throw_reference<type_descriptor> type;
  int32_t mdisp, pdisp, vdisp;
  uint32_t size;
  throw_reference<void> copy;
};
struct catchable_type_array {
  int32_t count;
  throw_reference<catchable_type> types[1];
};
struct throw_info {
  uint32_t attributes;
  throw_reference<void> destroy;
  throw_reference<void> forward_compat;
  throw_reference<catchable_type_array> types;
};

// The base the references of a C++ exception record's throw information count from.
inline uintptr_t ThrowImageBase(const EXCEPTION_RECORD& record) {
  return Is64Bit && record.NumberParameters > 3 ? record.ExceptionInformation[3] : 0;
}

// The thrown object's most derived class, or null for throw information that lists none.
inline const catchable_type* MostDerivedType(const throw_info* info, uintptr_t imageBase) {
  const catchable_type_array* types = info ? info->types.in(imageBase) : nullptr;
  return types && types->count > 0 ? types->types[0].in(imageBase) : nullptr;
}

// Its decorated name, or "".
inline const char* MostDerivedTypeName(const throw_info* info, uintptr_t imageBase) {
  const catchable_type* type = MostDerivedType(info, imageBase);
  const type_descriptor* descriptor = type ? type->type.in(imageBase) : nullptr;
  return descriptor ? descriptor->name : "";
}

// ---- Win32
typedef unsigned long DWORD;
typedef int BOOL;
typedef unsigned int UINT;
typedef long LONG;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef struct HWND__* HWND;
typedef struct HINSTANCE__* HMODULE;
typedef struct HDC__* HDC;
typedef void* HANDLE;
typedef intptr_t(__stdcall* FARPROC)();
typedef long(__stdcall* exception_filter)(EXCEPTION_POINTERS* pointers);

struct POINT {
  LONG x, y;
};
struct RECT {
  LONG left, top, right, bottom;
};
struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};
struct MOUSEINPUT {
  LONG dx, dy;
  DWORD mouseData, dwFlags, time;
  uintptr_t dwExtraInfo;
};
struct INPUT {
  DWORD type;  // 0: mouse
  MOUSEINPUT mi;
};
struct PROCESS_HEAP_ENTRY {
  void* lpData;
  DWORD cbData;
  uint8_t cbOverhead, iRegionIndex;
  uint16_t wFlags;
  union {
    struct {
      HANDLE hMem;
      DWORD dwReserved[3];
    } Block;
    struct {
      DWORD dwCommittedSize, dwUnCommittedSize;
      void *lpFirstBlock, *lpLastBlock;
    } Region;
  };
};
constexpr uint16_t HeapEntryBusy = 0x0004;  // PROCESS_HEAP_ENTRY_BUSY

struct TVITEMW {
  UINT mask;
  void* hItem;
  UINT state, stateMask;
  wchar_t* pszText;
  int cchTextMax, iImage, iSelectedImage, cChildren;
  LPARAM lParam;
};

extern "C" {
// kernel32
__declspec(dllimport) HMODULE __stdcall LoadLibraryW(const wchar_t* file);
__declspec(dllimport) FARPROC __stdcall GetProcAddress(HMODULE module, const char* name);
__declspec(dllimport) BOOL __stdcall FreeLibrary(HMODULE module);
__declspec(dllimport) HMODULE __stdcall GetModuleHandleW(const wchar_t* name);
__declspec(dllimport) DWORD __stdcall GetModuleFileNameW(HMODULE module, wchar_t* path, DWORD size);
__declspec(dllimport) DWORD __stdcall GetFileAttributesW(const wchar_t* path);
__declspec(dllimport) DWORD __stdcall GetLastError();
__declspec(dllimport) void __stdcall SetLastError(DWORD code);
__declspec(dllimport) DWORD __stdcall FormatMessageW(DWORD flags, const void* source, DWORD id, DWORD language,
                                                     wchar_t* buffer, DWORD size, va_list* arguments);
__declspec(dllimport) int __stdcall WideCharToMultiByte(UINT codePage, DWORD flags, const wchar_t* text, int length,
                                                        char* out, int size, const char* fallback, BOOL* used);
__declspec(dllimport) void* __stdcall AddVectoredExceptionHandler(UINT first, exception_filter handler);
__declspec(dllimport) exception_filter __stdcall SetUnhandledExceptionFilter(exception_filter filter);
__declspec(dllimport) DWORD __stdcall GetTickCount();
__declspec(dllimport) DWORD __stdcall GetProcessHeaps(DWORD count, HANDLE* heaps);
__declspec(dllimport) BOOL __stdcall HeapWalk(HANDLE heap, PROCESS_HEAP_ENTRY* entry);
__declspec(dllimport) HANDLE __stdcall CreateThread(void* security, size_t stack, DWORD(__stdcall* start)(void*),
                                                    void* parameter, DWORD flags, DWORD* id);
__declspec(dllimport) void __stdcall Sleep(DWORD milliseconds);
__declspec(dllimport) void __stdcall RaiseException(DWORD code, DWORD flags, DWORD count, const uintptr_t* arguments);
[[noreturn]] __declspec(dllimport) void __stdcall ExitProcess(UINT code);
__declspec(dllimport) HANDLE __stdcall GetStdHandle(DWORD id);
__declspec(dllimport) BOOL
    __stdcall WriteFile(HANDLE file, const void* data, DWORD size, DWORD* written, void* overlapped);
// user32
__declspec(dllimport) HWND
    __stdcall CreateWindowExW(DWORD exStyle, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y,
                              int width, int height, HWND parent, void* menu, HMODULE instance, void* parameter);
__declspec(dllimport) BOOL __stdcall DestroyWindow(HWND window);
__declspec(dllimport) BOOL __stdcall IsWindow(HWND window);
__declspec(dllimport) BOOL __stdcall SetForegroundWindow(HWND window);
__declspec(dllimport) BOOL __stdcall PeekMessageW(MSG* message, HWND window, UINT first, UINT last, UINT remove);
__declspec(dllimport) BOOL __stdcall TranslateMessage(const MSG* message);
__declspec(dllimport) LRESULT __stdcall DispatchMessageW(const MSG* message);
__declspec(dllimport) DWORD
    __stdcall MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL all, DWORD milliseconds, DWORD wake);
__declspec(dllimport) UINT __stdcall SendInput(UINT count, INPUT* inputs, int size);
__declspec(dllimport) int __stdcall GetSystemMetrics(int index);
__declspec(dllimport) HWND __stdcall FindWindowW(const wchar_t* cls, const wchar_t* text);
__declspec(dllimport) BOOL __stdcall GetWindowRect(HWND window, RECT* rect);
__declspec(dllimport) LRESULT __stdcall SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
__declspec(dllimport) HWND __stdcall GetDlgItem(HWND dialog, int id);
__declspec(dllimport) HDC __stdcall GetDC(HWND window);
__declspec(dllimport) int __stdcall ReleaseDC(HWND window, HDC dc);
__declspec(dllimport) BOOL __stdcall SystemParametersInfoW(UINT action, UINT value, void* data, UINT update);
// gdi32
__declspec(dllimport) DWORD __stdcall GetPixel(HDC dc, int x, int y);
}

constexpr DWORD InvalidFileAttributes = 0xFFFFFFFF;
constexpr DWORD StdOutput = DWORD(-11);
constexpr DWORD FormatFromSystem = 0x1000, FormatIgnoreInserts = 0x200;
constexpr UINT Utf8 = 65001;
constexpr DWORD OverlappedWindow = 0x00CF0000, Visible = 0x10000000;
constexpr UINT PeekRemove = 1, WakeAllInput = 0x04FF;
constexpr DWORD MouseMove = 0x0001, MouseLeftDown = 0x0002, MouseLeftUp = 0x0004, MouseRightDown = 0x0008,
                MouseRightUp = 0x0010, MouseWheel = 0x0800, MouseAbsolute = 0x8000;
constexpr int ScreenWidth = 0, ScreenHeight = 1;  // SM_CXSCREEN, SM_CYSCREEN
constexpr UINT SetWheelScrollLines = 0x0069;
constexpr UINT Command = 0x0111;                             // WM_COMMAND
constexpr UINT ButtonClicked = 0;                            // BN_CLICKED
constexpr UINT ListViewItemCount = 0x1004;                   // LVM_GETITEMCOUNT
constexpr UINT TreeNextItem = 0x110A, TreeGetItem = 0x113E;  // TVM_GETNEXTITEM, TVM_GETITEMW
constexpr WPARAM TreeRoot = 0, TreeNext = 1, TreeChild = 4;
constexpr UINT TreeItemText = 0x0001, TreeItemHandle = 0x0010;
