#include "window/callback_stub.h"

#include <windows.h>

#include <cstdint>

namespace {

// The executable memory of every stub, made on the first. Constructed before, and so
// destroyed after, every object of the library that holds a stub, whose destruction frees it.
class stub_heap {
 public:
  ~stub_heap() {
    if (heap_) HeapDestroy(heap_);
  }
  void* Allocate(size_t size) {
    if (!heap_) heap_ = HeapCreate(HEAP_CREATE_ENABLE_EXECUTE, 0, 0);
    return heap_ ? HeapAlloc(heap_, 0, size) : nullptr;
  }
  void Free(void* block) { HeapFree(heap_, 0, block); }

 private:
  HANDLE heap_ = nullptr;
};

stub_heap g_stub_heap __attribute__((init_priority(1000)));

}  // namespace

#ifdef _WIN64
// mov rcx, context ; mov rax, target ; jmp rax
#pragma pack(push, 1)
struct callback_stub::code {
  uint8_t load_context[2];
  void* context;
  uint8_t load_target[2];
  const void* target;
  uint8_t jump[2];
};
#pragma pack(pop)
#else
// mov dword ptr [esp + 4], context ; jmp target
#pragma pack(push, 1)
struct callback_stub::code {
  uint8_t store[4];
  void* context;
  uint8_t jump;
  int32_t target;
};
#pragma pack(pop)
#endif

callback_stub::~callback_stub() {
  if (code_) g_stub_heap.Free(code_);
}

bool callback_stub::Write(void* context, const void* target) {
  if (!code_) code_ = static_cast<code*>(g_stub_heap.Allocate(sizeof(code)));
  if (!code_) {
    SetLastError(ERROR_OUTOFMEMORY);
    return false;
  }
#ifdef _WIN64
  *code_ = code{{0x48, 0xB9}, context, {0x48, 0xB8}, target, {0xFF, 0xE0}};
#else
  *code_ = code{{0xC7, 0x44, 0x24, 0x04},
                context,
                0xE9,
                int32_t(reinterpret_cast<intptr_t>(target) - reinterpret_cast<intptr_t>(&code_->target + 1))};
#endif
  FlushInstructionCache(GetCurrentProcess(), code_, sizeof(code));
  return true;
}
