// The links of the owning handles of host references, which the gates use to give back the
// references of frames that a handler on the other side abandons.
#pragma once

// Links every live owning handle of a thread, newest first. A structured-exception guard
// that abandons frames runs none of their destructors; the links let it release the
// references that handles in those frames held. A handle ends on the thread that made it,
// as host references do: the host calls the component on its user-interface thread only.
class service_handle_link {
 public:
  service_handle_link(const service_handle_link&) = delete;
  service_handle_link& operator=(const service_handle_link&) = delete;

  // Releases the reference of every handle that lies in [low, high) and forgets the handles:
  // their memory belongs to frames that will never run again.
  static void release_abandoned(const void* low, const void* high) {
    for (service_handle_link* link = newest_; link;) {
      service_handle_link* older = link->older_;
      const void* at = link;
      if (at >= low && at < high) {
        link->unlink();
        link->release_(*link);
      }
      link = older;
    }
  }

 protected:
  explicit service_handle_link(void (*release)(service_handle_link&)) noexcept : release_(release), older_(newest_) {
    if (older_) older_->newer_ = this;
    newest_ = this;
  }
  ~service_handle_link() { unlink(); }

 private:
  void unlink() noexcept {
    if (newer_)
      newer_->older_ = older_;
    else if (newest_ == this)
      newest_ = older_;
    if (older_) older_->newer_ = newer_;
    older_ = newer_ = nullptr;
  }

  void (*const release_)(service_handle_link&);
  service_handle_link* older_;
  service_handle_link* newer_ = nullptr;
  static inline thread_local service_handle_link* newest_ = nullptr;
};
