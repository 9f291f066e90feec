// Start-up and the runtime pieces the player's compiler expects of its C++ library, the
// report, and the host's view of raised C++ exceptions.
#include "host.h"

extern "C" {
int __cdecl __getmainargs(int* argc, char*** argv, char*** environment, int wildcards, int* startup);
// Referenced by every object that uses floating point.
int _fltused = 0;
// The table type descriptors point at; the exception runtime matches types by name only.
void* type_info_table[1] __asm__("??_7type_info@@6B@") = {nullptr};
}

int main(int argc, char** argv);

extern "C" void mainCRTStartup() {
  int argc = 0, startup = 0;
  char** argv = nullptr;
  char** environment = nullptr;
  __getmainargs(&argc, &argv, &environment, 0, &startup);
  exit(main(argc, argv));
}

void* operator new(size_t size) {
  if (void* block = malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { free(block); }
void operator delete(void* block, size_t) noexcept { free(block); }

// ---- std::exception as the player's runtime has it: a copy of an object that owns its text
// owns a copy of the text; the destructor frees an owned text with the C runtime's free.
exception_counts g_exception_counts;

namespace std {

exception::exception() noexcept : text_(nullptr), owns_text_(false) { ++g_exception_counts.constructed; }
exception::exception(const char* text) noexcept : text_(text), owns_text_(false) { ++g_exception_counts.constructed; }
exception::exception(const exception& other) noexcept : text_(nullptr), owns_text_(false) {
  ++g_exception_counts.copied;
  CopyText(other);
}
exception& exception::operator=(const exception& other) noexcept {
  if (this != &other) {
    FreeText();
    CopyText(other);
  }
  return *this;
}
exception::~exception() {
  FreeText();
  ++g_exception_counts.destroyed;
}
const char* exception::what() const { return text_ ? text_ : "Unknown exception"; }

void exception::FreeText() noexcept {
  if (owns_text_) {
    free(const_cast<char*>(text_));
    ++g_exception_counts.texts_freed;
  }
  text_ = nullptr;
  owns_text_ = false;
}

void exception::CopyText(const exception& other) noexcept {
  if (!other.owns_text_ || !other.text_) {
    text_ = other.text_;
    return;
  }
  const size_t size = strlen(other.text_) + 1;
  if (char* copy = static_cast<char*>(malloc(size))) {
    memcpy(copy, other.text_, size);
    text_ = copy;
    owns_text_ = true;
  }
}

}  // namespace std

// ---- Report
namespace {
unsigned g_checks = 0, g_failed = 0;

void WriteLine(const char* format, va_list arguments, const char* prefix) {
  char line[1200];
  size_t length = strlen(prefix);
  memcpy(line, prefix, length);
  const int written = _vsnprintf(line + length, sizeof line - length - 2, format, arguments);
  length = written < 0 ? sizeof line - 2 : length + size_t(written);
  line[length++] = '\n';
  DWORD done = 0;
  WriteFile(GetStdHandle(StdOutput), line, DWORD(length), &done, nullptr);
}

void Print(const char* prefix, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  WriteLine(format, arguments, prefix);
  va_end(arguments);
}
}  // namespace

bool check(bool ok, const char* name, const char* detail, ...) {
  ++g_checks;
  if (!ok) ++g_failed;
  if (!detail) {
    Print(ok ? "PASS " : "FAIL ", "%s", name);
    return ok;
  }
  char text[900];
  va_list arguments;
  va_start(arguments, detail);
  FormatInto(text, sizeof text, detail, arguments);
  va_end(arguments);
  Print(ok ? "PASS " : "FAIL ", "%s (%s)", name, text);
  return ok;
}

void note(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  WriteLine(format, arguments, "     ");
  va_end(arguments);
}

unsigned FailedChecks() { return g_failed; }

void PrintSummary() { Print("", "%u checks, %u failed", g_checks, g_failed); }

// ---- Raised C++ exceptions
raised_exception g_last_raised;

namespace {
long __stdcall RecordRaise(EXCEPTION_POINTERS* pointers) {
  const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
  if (record.ExceptionCode == CppExceptionCode) {
    g_last_raised.flags = record.ExceptionFlags;
    g_last_raised.parameters = record.NumberParameters;
    g_last_raised.magic = record.NumberParameters > 0 ? uint32_t(record.ExceptionInformation[0]) : 0;
    g_last_raised.object =
        record.NumberParameters > 1 ? reinterpret_cast<const uint8_t*>(record.ExceptionInformation[1]) : nullptr;
    g_last_raised.info =
        record.NumberParameters > 2 ? reinterpret_cast<const throw_info*>(record.ExceptionInformation[2]) : nullptr;
    g_last_raised.image_base = ThrowImageBase(record);
  }
  return 0;  // go on searching
}

// A fault nothing handled: said on the report before the process ends.
long __stdcall ReportCrash(EXCEPTION_POINTERS* pointers) {
  Print("", "CRASH: unhandled exception 0x%08X at %p", unsigned(pointers->ExceptionRecord->ExceptionCode),
        pointers->ExceptionRecord->ExceptionAddress);
  PrintSummary();
  return 1;  // end the process
}
}  // namespace

namespace {
DWORD __stdcall Watch(void* seconds) {
  Sleep(DWORD(reinterpret_cast<uintptr_t>(seconds)) * 1000);
  Print("", "TIMEOUT: the host did not finish in %u seconds", unsigned(reinterpret_cast<uintptr_t>(seconds)));
  PrintSummary();
  ExitProcess(2);
}
}  // namespace

void StartWatchdog(DWORD seconds) {
  CreateThread(nullptr, 0, Watch, reinterpret_cast<void*>(uintptr_t(seconds)), 0, nullptr);
}

void WatchRaisedExceptions() {
  AddVectoredExceptionHandler(1, RecordRaise);
  SetUnhandledExceptionFilter(ReportCrash);
}

const char* RaisedTypeName(const raised_exception& raised) {
  return MostDerivedTypeName(raised.info, raised.image_base);
}

size_t RaisedObjectSize(const raised_exception& raised) {
  const catchable_type* type = MostDerivedType(raised.info, raised.image_base);
  return type ? type->size : 0;
}

#if defined(_M_IX86)
extern "C" __attribute__((naked)) int __cdecl CallMember(void*, unsigned, const uintptr_t*, unsigned, uintptr_t*) {
  __asm__(
      "pushl %ebp\n\t"
      "movl %esp, %ebp\n\t"
      "pushl %ebx\n\t"
      "pushl %esi\n\t"
      "pushl %edi\n\t"
      "movl %esp, %edi\n\t"      // the stack before the arguments
      "movl 16(%ebp), %esi\n\t"  // arguments
      "movl 20(%ebp), %ebx\n\t"  // words
      "1:\n\t"
      "testl %ebx, %ebx\n\t"
      "jz 2f\n\t"
      "decl %ebx\n\t"
      "pushl (%esi,%ebx,4)\n\t"
      "jmp 1b\n\t"
      "2:\n\t"
      "movl 8(%ebp), %ecx\n\t"  // this
      "movl (%ecx), %eax\n\t"
      "movl 12(%ebp), %edx\n\t"
      "calll *(%eax,%edx,4)\n\t"
      "movl 24(%ebp), %edx\n\t"
      "movl %eax, (%edx)\n\t"
      "movl %edi, %eax\n\t"
      "subl %esp, %eax\n\t"  // what the callee left
      "movl %edi, %esp\n\t"
      "popl %edi\n\t"
      "popl %esi\n\t"
      "popl %ebx\n\t"
      "popl %ebp\n\t"
      "retl\n\t");
}
#else
// A frame of its own, described to the system's unwinder, so that an exception can pass it.
__asm__(
    ".text\n"
    ".globl CallMember\n"
    ".def CallMember; .scl 2; .type 32; .endef\n"
    ".seh_proc CallMember\n"
    "CallMember:\n\t"
    "pushq %rbp\n\t"
    ".seh_pushreg %rbp\n\t"
    "pushq %rsi\n\t"
    ".seh_pushreg %rsi\n\t"
    "pushq %rdi\n\t"
    ".seh_pushreg %rdi\n\t"
    "pushq %rbx\n\t"
    ".seh_pushreg %rbx\n\t"
    "movq %rsp, %rbp\n\t"
    ".seh_setframe %rbp, 0\n\t"
    ".seh_endprologue\n\t"
    "movq %rcx, %rbx\n\t"   // object
    "movl %edx, %r10d\n\t"  // slot
    "movq %r8, %rsi\n\t"    // arguments
    "movl %r9d, %edi\n\t"   // words
    // The object's slot and the arguments' slots, at least the four of the home area, an
    // odd count that leaves the stack 16-byte aligned at the call.
    "leal 1(%rdi), %ecx\n\t"
    "cmpl $4, %ecx\n\t"
    "jae 1f\n\t"
    "movl $4, %ecx\n\t"
    "1:\n\t"
    "orl $1, %ecx\n\t"
    "shlq $3, %rcx\n\t"
    "subq %rcx, %rsp\n\t"
    "xorl %ecx, %ecx\n\t"
    "2:\n\t"
    "cmpl %edi, %ecx\n\t"
    "jae 3f\n\t"
    "movq (%rsi,%rcx,8), %rdx\n\t"
    "movq %rdx, 8(%rsp,%rcx,8)\n\t"
    "incl %ecx\n\t"
    "jmp 2b\n\t"
    "3:\n\t"
    "movq 8(%rsp), %rdx\n\t"
    "movq 16(%rsp), %r8\n\t"
    "movq 24(%rsp), %r9\n\t"
    "movq %rdx, %xmm1\n\t"
    "movq %r8, %xmm2\n\t"
    "movq %r9, %xmm3\n\t"
    "movq %rbx, %rcx\n\t"
    "movq (%rbx), %rax\n\t"
    "movq %rsp, %rdi\n\t"  // the stack before the call
    "callq *(%rax,%r10,8)\n\t"
    "movq 72(%rbp), %rdx\n\t"  // result, the fifth argument, above the four saved registers and the home area
    "movq %rax, (%rdx)\n\t"
    "movq %rdi, %rax\n\t"
    "subq %rsp, %rax\n\t"  // what the callee left
    "leaq 0(%rbp), %rsp\n\t"
    "popq %rbx\n\t"
    "popq %rdi\n\t"
    "popq %rsi\n\t"
    "popq %rbp\n\t"
    "retq\n"
    ".seh_endproc\n");
#endif

// ---- Text and bytes
void FormatInto(char* out, size_t size, const char* format, va_list arguments) {
  out[size - 1] = 0;  // the C runtime leaves a text that fills the buffer unterminated
  _vsnprintf(out, size - 1, format, arguments);
}

void FormatGuid(const GUID& guid, char (&text)[40]) {
  static const char digits[] = "0123456789ABCDEF";
  char* out = text;
  auto hex = [&](uint32_t value, int count) {
    for (int shift = (count - 1) * 4; shift >= 0; shift -= 4) *out++ = digits[(value >> shift) & 15];
  };
  *out++ = '{';
  hex(guid.Data1, 8);
  *out++ = '-';
  hex(guid.Data2, 4);
  *out++ = '-';
  hex(guid.Data3, 4);
  *out++ = '-';
  for (int i = 0; i < 8; ++i) {
    if (i == 2) *out++ = '-';
    hex(guid.Data4[i], 2);
  }
  *out++ = '}';
  *out = 0;
}

bool EndsWith(const char* text, const char* end) {
  const size_t length = strlen(text), endLength = strlen(end);
  return length >= endLength && strcmp(text + length - endLength, end) == 0;
}

byte_string& byte_string::raw(const void* bytes, size_t count) {
  if (count > sizeof data - size) count = sizeof data - size;
  memcpy(data + size, bytes, count);
  size += count;
  return *this;
}

byte_string Entry(const GUID& variable, const byte_string& payload) {
  byte_string entry;
  return entry.guid(variable).u32(uint32_t(payload.size)).append(payload);
}

byte_string Value(uint32_t value) {
  byte_string payload;
  return payload.u32(value);
}

byte_string Bindings(const binding* items, uint32_t count) {
  byte_string payload;
  payload.u32(count);
  for (uint32_t i = 0; i < count; ++i) payload.u32(items[i].key).u32(items[i].modifiers).guid(items[i].action);
  return payload;
}

bool check_bytes(const byte_string& got, const byte_string& want, const char* name) {
  size_t at = 0;
  while (at < got.size && at < want.size && got.data[at] == want.data[at]) ++at;
  if (at == got.size && at == want.size) return check(true, name, "%u bytes", unsigned(got.size));
  return check(false, name, "%u bytes, expected %u; first difference at offset %u: %02X, expected %02X",
               unsigned(got.size), unsigned(want.size), unsigned(at), at < got.size ? got.data[at] : 0,
               at < want.size ? want.data[at] : 0);
}
