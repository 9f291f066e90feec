// Records the messages that the moxel, the volume bar and the user's program receive on this
// thread, through thread hooks, and compares them with expected sequences: a table of
// message, flags and parameters, with optional entries, as the platform's own conformance
// tests do.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

enum class msg_window { moxel, bar, program };

enum msg_flags : unsigned {
  sent = 1,        // through SendMessage, seen before the window procedure
  posted = 2,      // taken from the queue
  nested = 4,      // sent while the same window was in another sent message
  noactivate = 8,  // a WM_WINDOWPOSCHANGING whose flags hold SWP_NOACTIVATE
  optional = 16,   // expected only: the entry may be missing
  wparam = 32,     // expected only: the message's wParam is the entry's
  lparam = 64,     // expected only: the message's lParam is the entry's
  repeated = 128,  // expected only: the entry may come any number of times, or not at all
};

// A window's activation or focus as a computer-based-training hook sees it asked for, before
// the system decides: recorded as a message of these numbers.
constexpr UINT AskedToActivate = 0x10000 + HCBT_ACTIVATE;
constexpr UINT AskedToFocus = 0x10000 + HCBT_SETFOCUS;

struct msg_entry {
  msg_window window;
  UINT message;
  unsigned flags;
  WPARAM wParam = 0;  // compared when the flags hold wparam
  LPARAM lParam = 0;  // compared when the flags hold lparam
};

class message_log {
 public:
  // Records the messages in `watched` (and every activation or focus request) for the
  // moxel, the bar, and `program` with its children. One log at a time.
  message_log(std::vector<UINT> watched, HWND program);
  ~message_log();
  message_log(const message_log&) = delete;
  message_log& operator=(const message_log&) = delete;

  // What was recorded since the last call.
  std::vector<msg_entry> Take();
  // What was recorded since the last Take, left in the log.
  const std::vector<msg_entry>& Recorded() const { return entries_; }

 private:
  static LRESULT CALLBACK OnSent(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK OnSentReturned(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK OnPosted(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK OnTraining(int code, WPARAM wParam, LPARAM lParam);
  void Record(HWND window, UINT message, unsigned flags, WPARAM wParam, LPARAM lParam);
  bool Watched(UINT message) const;

  std::vector<UINT> watched_;
  HWND program_;
  std::vector<msg_entry> entries_;
  std::vector<HWND> inside_;  // the windows whose sent messages are being handled, innermost last
  HHOOK hooks_[4] = {};
};

// Whether `seen` is `expected`, entry by entry, where an optional expected entry may be
// missing; the failure names the first difference and lists both sequences.
::testing::AssertionResult MatchesSequence(const std::vector<msg_entry>& seen, const std::vector<msg_entry>& expected);
