// A callback of the system that carries no context of ours (a window, dialog or timer
// procedure, a WinEvent procedure) finds its object all the same through a small stub in
// executable memory: the stub puts the object in place of the call's first argument (the
// window, the timer's window, the hook) and jumps to the target, a function of the same type
// that reads that argument as its object. Finding the object so costs nothing, where the moxel
// sees every mouse event of the system.
#pragma once

class callback_stub {
 public:
  callback_stub() = default;
  ~callback_stub();
  callback_stub(const callback_stub&) = delete;
  callback_stub& operator=(const callback_stub&) = delete;

  // Points the stub at `target`, whose calls through the stub then carry `context` as their
  // first argument, making the stub on the first call; false (last error ERROR_OUTOFMEMORY,
  // as the system's own calls fail without memory) when there is no memory for it.
  template <class Callback>
  bool Route(void* context, Callback target) {
    return Write(context, reinterpret_cast<const void*>(target));
  }

  // The stub, to hand the system in place of a Callback.
  template <class Callback>
  Callback get() const {
    return reinterpret_cast<Callback>(code_);
  }

 private:
  struct code;
  bool Write(void* context, const void* target);

  code* code_ = nullptr;
};
