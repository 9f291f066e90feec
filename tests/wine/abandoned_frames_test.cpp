// Frames of a served operation that the other side's __except abandons: a fault inside the
// component's own code, with no call to the other side on the way, handled by a handler
// that unwinds and resumes as the other side's compiler makes __except do.
#include <windows.h>

#include <intrin.h>

#include <gtest/gtest.h>

#include "host/boundary/boundary.h"
#include "host/player/interfaces/service.h"

namespace {

class counted final : public service_base {
 public:
  int service_release() override { return --references; }
  int service_add_ref() override { return ++references; }
  bool service_query(service_base*&, const GUID&) override { return false; }
  int references = 1;
};

// The other side's __try/__except (EXCEPTION_EXECUTE_HANDLER) around `work`: its handler
// knows nothing of this module's frames.
#ifdef _WIN64
// As the platform's compiler makes it on x64: a function whose unwind information names the
// handler, which unwinds to a label in it; the label answers the unwinding's return value.
extern "C" bool foreign_except(void (*work)(void* context), void* context);
extern "C" char foreign_except_handled[];
asm(R"(
  .text
  .globl foreign_except
  .def foreign_except; .scl 2; .type 32; .endef
  .seh_proc foreign_except
foreign_except:
  subq $40, %rsp
  .seh_stackalloc 40
  .seh_endprologue
  .seh_handler ForeignHandler, @except
  movq %rcx, %rax
  movq %rdx, %rcx
  callq *%rax
  xorl %eax, %eax
foreign_except_handled:
  addq $40, %rsp
  ret
  .seh_endproc
)");

extern "C" EXCEPTION_DISPOSITION ForeignHandler(EXCEPTION_RECORD* exception, void* establisher, CONTEXT* context,
                                                DISPATCHER_CONTEXT* dispatch) {
  RtlUnwindEx(establisher, foreign_except_handled, exception, reinterpret_cast<void*>(1), context,
              dispatch->HistoryTable);
  return ExceptionContinueSearch;
}

template <class Work>
bool HandledByForeignExcept(Work work) {
  return foreign_except([](void* context) { (*static_cast<Work*>(context))(); }, &work);
}
#else
struct foreign_frame {
  EXCEPTION_REGISTRATION_RECORD record;
  void* resume[5];
};

EXCEPTION_DISPOSITION __cdecl ForeignHandler(EXCEPTION_RECORD* exception, void* establisher, CONTEXT*, void*) {
  if (exception->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) return ExceptionContinueSearch;
  auto* frame = static_cast<foreign_frame*>(establisher);
  RtlUnwind(&frame->record, nullptr, exception, nullptr);
  __builtin_longjmp(frame->resume, 1);
}

template <class Work>
__attribute__((noinline)) bool HandledByForeignExcept(Work work) {
  foreign_frame frame;
  asm volatile("" ::: "ebx", "esi", "edi");
  if (__builtin_setjmp(frame.resume)) {
    __writefsdword(0, reinterpret_cast<DWORD>(static_cast<volatile foreign_frame&>(frame).record.Next));
    return true;
  }
  frame.record.Next = reinterpret_cast<EXCEPTION_REGISTRATION_RECORD*>(__readfsdword(0));
  frame.record.Handler = reinterpret_cast<PEXCEPTION_ROUTINE>(&ForeignHandler);
  __writefsdword(0, reinterpret_cast<DWORD>(&frame.record));
  work();
  __writefsdword(0, reinterpret_cast<DWORD>(frame.record.Next));
  return false;
}
#endif

void WriteThrough(volatile int* address) { *address = 1; }
// Called through a pointer the compiler cannot see through, as code of the library's that
// faults is called.
void (*volatile g_faulting_code)(volatile int*) = &WriteThrough;

__attribute__((noinline)) void HoldAndFault(counted& object) {
  boundary::serve([&] {
    const auto held = service_ptr_t<counted>::share(&object);
    const auto again = service_ptr_t<counted>::share(held.get());
    g_faulting_code(nullptr);
  });
}

TEST(AbandonedFrames, AFaultInsideAServedOperationGivesItsHandlesReferencesBack) {
  counted object;
  for (int round = 0; round < 100; ++round) {
    ASSERT_TRUE(HandledByForeignExcept([&] { HoldAndFault(object); }));
    ASSERT_EQ(object.references, 1) << "round " << round;
  }
  // Handles made afterwards link among themselves only: the dead ones are gone.
  {
    auto first = service_ptr_t<counted>::share(&object);
    auto second = service_ptr_t<counted>::share(&object);
    EXPECT_EQ(object.references, 3);
    first.reset();
  }
  EXPECT_EQ(object.references, 1);
}

}  // namespace
