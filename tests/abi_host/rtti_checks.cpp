// The run-time type information of the component's exceptions in the host's catch blocks,
// read through the system runtime's own entry points (__RTtypeid, __RTDynamicCast and
// type_info::name, which the compiler calls for typeid and dynamic_cast), as a host that logs
// or sorts what it caught reads it.
#include "host.h"

// The platform runtime's type_info, which typeid answers; only name() is called here.
class type_info {
 public:
  virtual ~type_info();
  const char* name() const;

 private:
  void* undecorated_;
  char decorated_[1];
};
namespace std {
using ::type_info;
}

namespace {

template <class Operation>
void CheckTypeOfFailure(const char* name, const char* expectedName, bool isData, Operation operation) {
  char seen[200] = "no exception";
  bool cast = false, read = false;
  try {
    try {
      operation();
    } catch (const std::exception& error) {
      Format(seen, "%s", typeid(error).name());
      cast = dynamic_cast<const quorbel_io::exception_io_data*>(&error) != nullptr;
      read = true;
    }
  } catch (const std::exception& error) {
    Format(seen, "the runtime raised \"%s\"", error.what());
  } catch (...) {
    Format(seen, "the runtime raised an exception of no known class");
  }
  check(read && strcmp(seen, expectedName) == 0, name, "typeid(e).name() is \"%s\"", seen);
  check(read && cast == isData, name, "dynamic_cast<const exception_io_data*>(&e) %s",
        cast ? "gives the object" : "gives null");
}

}  // namespace

void RunTypeInformationChecks(player_host& host, component& loaded) {
  byte_string truncated = WriteConfiguration(loaded);
  truncated.size -= 2;
  CheckTypeOfFailure("configuration read of truncated bytes", "class quorbel_io::exception_io_data_truncation", true,
                     [&] {
                       memory_reader in(truncated);
                       abort_flag running;
                       loaded.client->config_read(&in, &running);
                     });
  CheckTypeOfFailure("configuration write while aborting", "class quorbel_io::exception_aborted", false, [&] {
    memory_writer out;
    abort_flag aborting(true);
    loaded.client->config_write(&out, &aborting);
  });
  CheckTypeOfFailure("page create of the older interface", "class exception_not_implemented", false,
                     [&] { loaded.page->create(host.window); });
  CheckTypeOfFailure("page instantiate with an invalid parent window", "class exception_win32", false, [&] {
    preferences_page_instance* page = loaded.page->instantiate(reinterpret_cast<HWND>(0x0BADF00C), &host.page_callback);
    if (page) page->service_release();
  });
}
