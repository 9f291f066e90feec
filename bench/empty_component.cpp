// The baseline library for load timing: the same export, nothing behind it.
extern "C" __declspec(dllexport) void* quorbel_get_interface(void*, void*) { return nullptr; }
