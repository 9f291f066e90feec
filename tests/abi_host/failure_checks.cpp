// Every failure of the component reaches the host as one of the host's C++ exceptions:
// caught by reference as std::exception and as its own class, and by value.
#include "host.h"

namespace {

bool g_leaks_show = false;  // whether BusyHeapBytes sees small allocations

// Bytes in the busy blocks of every heap of the process; the C runtimes of both modules
// allocate from them.
size_t BusyHeapBytes() {
  HANDLE heaps[64];
  DWORD count = GetProcessHeaps(64, heaps);
  if (count > 64) count = 64;
  size_t busy = 0;
  for (DWORD i = 0; i < count; ++i) {
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heaps[i], &entry))
      if (entry.wFlags & HeapEntryBusy) busy += entry.cbData;
  }
  return busy;
}

template <class Operation>
void Repeat(Operation operation, int times) {
  for (int i = 0; i < times; ++i) {
    try {
      operation();
    } catch (...) {
    }
  }
}

template <class Base, class Operation>
void CheckCaughtAs(const char* name, const char* base, Operation operation) {
  bool caught = false;
  try {
    operation();
  } catch (const Base&) {
    caught = true;
  } catch (...) {
  }
  check(caught, name, "as const %s&", base);
}

// `operation` fails with an exception of class `Failure`, `message` its text, `decorated`
// the decorated name of its class.
template <class Failure, class Operation>
void CheckFailure(const char* name, const char* message, const char* decorated, Operation operation) {
  char seen[300] = "no exception";
  bool caught = false, failed = false;
  g_last_raised = raised_exception{};
  try {
    operation();
  } catch (const std::exception& error) {
    failed = true;
    caught = strcmp(error.what(), message) == 0;
    Format(seen, "\"%s\"", error.what());
  } catch (...) {
    failed = true;
    Format(seen, "an exception of no known class");
  }
  if (!check(caught, name, "as const std::exception&: %s", seen) && !failed) return;
  const raised_exception raised = g_last_raised;
  check(raised.flags == NonContinuable && raised.parameters == CppThrowParameters && raised.magic == CppThrowMagic &&
            strcmp(RaisedTypeName(raised), decorated) == 0,
        name, "raised with flags %u, %u parameters, magic 0x%08X, class %s", unsigned(raised.flags),
        unsigned(raised.parameters), unsigned(raised.magic), RaisedTypeName(raised));
  if (Is64Bit) {
    const HMODULE thrower = GetModuleHandleW(L"moxel_control.dll");
    check(raised.image_base == reinterpret_cast<uintptr_t>(thrower), name,
          "raised with the image base %p, the component's being %p", reinterpret_cast<void*>(raised.image_base),
          static_cast<void*>(thrower));
  }
  CheckCaughtAs<Failure>(name, decorated, operation);

  // By value: the host destroys its copy with its own destructor, which frees an owned text.
  const exception_counts before = g_exception_counts;
  std::exception kept;
  bool owns = true;
  caught = false;
  const uint8_t* original = nullptr;
  size_t originalSize = 0;
  try {
    operation();
  } catch (Failure copy) {
    caught = strcmp(copy.what(), message) == 0;
    owns = LayoutOf(copy).owns_text;
    original = g_last_raised.object;
    originalSize = RaisedObjectSize(g_last_raised);
    kept = copy;
  } catch (...) {
  }
  const exception_counts after = g_exception_counts;
  check(caught && !owns, name, "by value: the copy reads its message and does not own its text");
  const char* text = LayoutOf(kept).text;
  const bool inOriginal = original && reinterpret_cast<const uint8_t*>(text) >= original &&
                          reinterpret_cast<const uint8_t*>(text) < original + originalSize;
  check(text && strcmp(kept.what(), message) == 0 && !inOriginal, name,
        "by value: the copy's text outlives the thrown object");
  check(after.destroyed - before.destroyed == 1 && after.copied == before.copied &&
            after.texts_freed == before.texts_freed,
        name, "by value: the host destroys only its copy: %u destroyed, %u copied by the host, %u texts freed",
        after.destroyed - before.destroyed, after.copied - before.copied, after.texts_freed - before.texts_freed);

  // Repeated failures take nothing from the heap.
  if (!g_leaks_show) return;
  Repeat(operation, 5);
  const size_t start = BusyHeapBytes();
  Repeat(operation, 200);
  const int grown = int(BusyHeapBytes() - start);
  check(grown < 2048, name, "200 more failures: %d heap bytes more in use", grown);
}

}  // namespace

void RunFailureChecks(player_host& host, component& loaded) {
  // A leak of one small block a failure must show in the heaps' busy bytes for the leak checks
  // to mean anything.
  void* blocks[200];
  const size_t before = BusyHeapBytes();
  for (void*& block : blocks) block = malloc(24);
  const size_t during = BusyHeapBytes();
  for (void* block : blocks) free(block);
  g_leaks_show = during >= before + 200 * 24;
  if (!g_leaks_show) note("200 small blocks add %d busy heap bytes here: no leak checks", int(during - before));

  const byte_string stored = WriteConfiguration(loaded);
  byte_string truncated = stored;
  truncated.size -= 2;  // ends inside the last entry's payload
  auto readTruncated = [&] {
    memory_reader in(truncated);
    abort_flag running;
    loaded.client->config_read(&in, &running);
  };
  CheckFailure<quorbel_io::exception_io_data_truncation>(
      "configuration read of truncated bytes", "Unsupported format or corrupted file",
      ".?AVexception_io_data_truncation@quorbel_io@@", readTruncated);
  CheckCaughtAs<quorbel_io::exception_io_data>("configuration read of truncated bytes", "exception_io_data",
                                               readTruncated);
  CheckCaughtAs<quorbel_io::exception_io>("configuration read of truncated bytes", "exception_io", readTruncated);

  CheckFailure<quorbel_io::exception_aborted>("configuration write while aborting", "User abort",
                                              ".?AVexception_aborted@quorbel_io@@", [&] {
                                                memory_writer out;
                                                abort_flag aborting(true);
                                                loaded.client->config_write(&out, &aborting);
                                              });

  auto createOldPage = [&] { loaded.page->create(host.window); };
  CheckFailure<exception_not_implemented>("page create of the older interface", "Feature not implemented",
                                          ".?AVexception_not_implemented@@", createOldPage);
  CheckCaughtAs<exception_bug_check>("page create of the older interface", "exception_bug_check", createOldPage);

  // The system's text of ERROR_INVALID_WINDOW_HANDLE, on one line, in UTF-8.
  wchar_t systemText[512] = L"";
  FormatMessageW(FormatFromSystem | FormatIgnoreInserts, nullptr, 1400, 0, systemText, 512, nullptr);
  for (wchar_t& c : systemText)
    if (c == L'\r' || c == L'\n') c = L' ';
  char invalidWindow[1600] = "";
  WideCharToMultiByte(Utf8, 0, systemText, -1, invalidWindow, sizeof invalidWindow, nullptr, nullptr);
  CheckFailure<exception_win32>("page instantiate with an invalid parent window", invalidWindow,
                                ".?AVexception_win32@@", [&] {
                                  preferences_page_instance* page =
                                      loaded.page->instantiate(reinterpret_cast<HWND>(0x0BADF00C), &host.page_callback);
                                  if (page) page->service_release();
                                });
  check(host.page_callback.references == 1, "the failed page gives its callback reference back", "%d references",
        host.page_callback.references);

  auto helpAddress = [&] {
    host_string address;
    loaded.page->get_help_url(address);
  };
  host.api.Remove(host_information::class_guid, &host.information);
  CheckFailure<exception_service_not_found>("service lookup with no instance", "Service not found",
                                            ".?AVexception_service_not_found@@", helpAddress);
  host.api.Add(host_information::class_guid, &host.information);
  host_information_text second;
  host.api.Add(host_information::class_guid, &second);
  CheckFailure<exception_service_duplicated>("service lookup with two instances", "Service duplicated",
                                             ".?AVexception_service_duplicated@@", helpAddress);
  host.api.Remove(host_information::class_guid, &second);
  check(host.information.references == 1 && second.references == 1, "failed lookups take no reference",
        "%d and %d references", host.information.references, second.references);

  // A stored count its payload cannot hold is corrupt data, not a request for memory: the
  // component drops that entry and the read ends normally.
  const uint32_t counts[] = {0x10000000u, 0x05555555u, 0xFFFFFFFFu};
  for (uint32_t count : counts) {
    const byte_string huge = Entry(ListId, Value(count));
    memory_reader in(huge);
    abort_flag running;
    bool ended = false;
    try {
      loaded.client->config_read(&in, &running);
      ended = true;
    } catch (...) {
    }
    check(ended, "a stored list of more items than its payload holds is dropped", "count 0x%08X", unsigned(count));
  }

  check(_heapchk() == HeapOk, "the C runtime's heap is intact after the failures");
  ReadConfiguration(loaded, stored);
}

namespace {

// The host's own __try/__except around a call into the component.
bool CallHandlingFaults(void (*call)(void* context), void* context) {
  __try {
    call(context);
    return true;
  } __except (1) {
    return false;
  }
}

struct help_request {
  component* loaded;
  bool got = false;
};

void AskHelpAddress(void* context) {
  auto& request = *static_cast<help_request*>(context);
  host_string address;
  request.got = request.loaded->page->get_help_url(address) && address.get_length() > 0;
}

}  // namespace

void RunAbandonedFrameChecks(player_host& host, component& loaded) {
  // The component holds the host's information service while it asks it for its text, and the
  // text faults: the host's handler abandons the component's frames without unwinding them.
  help_request request{&loaded};
  host.information.faults = true;
  const bool returned = CallHandlingFaults(&AskHelpAddress, &request);
  host.information.faults = false;
  check(!returned, "the host's __except handles a fault of its service inside the component's frames");
  check(host.information.references == 1, "the reference the abandoned frames held goes back", "%d references",
        host.information.references);

  // Every kind of call goes on working, and neither references nor heap blocks pile up: the
  // owning handles of the abandoned frames are no longer linked to the new ones.
  const byte_string stored = WriteConfiguration(loaded);
  const size_t start = BusyHeapBytes();
  bool allWorked = true;
  for (int i = 0; i < 1000; ++i) {
    request.got = false;
    allWorked &= CallHandlingFaults(&AskHelpAddress, &request) && request.got;
    allWorked &= ReadConfiguration(loaded, stored);
    allWorked &= WriteConfiguration(loaded).size == stored.size;
    try {
      loaded.page->create(host.window);
      allWorked = false;
    } catch (const exception_not_implemented&) {
    }
    if (i % 100 == 0) {
      host.information.faults = true;
      allWorked &= !CallHandlingFaults(&AskHelpAddress, &request);
      host.information.faults = false;
    }
  }
  const int grown = int(BusyHeapBytes() - start);
  check(allWorked, "1,000 rounds of help address, configuration read and write, a failing call and a fault work");
  check(host.information.references == 1, "the information service's references are balanced after them",
        "%d references", host.information.references);
  check(_heapchk() == HeapOk && (!g_leaks_show || grown < 4096), "the heaps are intact and do not grow",
        "%d heap bytes more in use", grown);
}
