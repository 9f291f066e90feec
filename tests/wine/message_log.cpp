#include "tests/wine/message_log.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <string>

#include "tests/wine/moxel_fixture.h"

namespace {

message_log* g_log = nullptr;

bool HasClass(HWND window, const wchar_t* name) {
  wchar_t text[64] = L"";
  GetClassNameW(window, text, 64);
  return wcscmp(text, name) == 0;
}

std::string MessageName(UINT message) {
  static const struct {
    UINT message;
    const char* name;
  } names[] = {{WM_CREATE, "WM_CREATE"},
               {WM_DESTROY, "WM_DESTROY"},
               {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
               {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
               {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
               {WM_ACTIVATE, "WM_ACTIVATE"},
               {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
               {WM_NCACTIVATE, "WM_NCACTIVATE"},
               {WM_SETFOCUS, "WM_SETFOCUS"},
               {WM_KILLFOCUS, "WM_KILLFOCUS"},
               {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"},
               {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
               {WM_LBUTTONUP, "WM_LBUTTONUP"},
               {WM_TIMER, "WM_TIMER"},
               {WM_MOUSELEAVE, "WM_MOUSELEAVE"},
               {WM_DISPLAYCHANGE, "WM_DISPLAYCHANGE"},
               {WM_SETTINGCHANGE, "WM_SETTINGCHANGE"},
               {AskedToActivate, "activation asked"},
               {AskedToFocus, "focus asked"}};
  for (const auto& entry : names)
    if (entry.message == message) return entry.name;
  char number[16];
  std::snprintf(number, sizeof number, "0x%04X", message);
  return number;
}

std::string Describe(const msg_entry& entry, unsigned parameters) {
  static const char* const windows[] = {"moxel", "bar", "program"};
  std::string text = std::string(windows[int(entry.window)]) + " " + MessageName(entry.message);
  char value[48];
  if (parameters & wparam) {
    std::snprintf(value, sizeof value, " wParam 0x%" PRIxPTR, uintptr_t(entry.wParam));
    text += value;
  }
  if (parameters & lparam) {
    std::snprintf(value, sizeof value, " lParam 0x%" PRIxPTR, uintptr_t(entry.lParam));
    text += value;
  }
  if (entry.flags & sent) text += " sent";
  if (entry.flags & posted) text += " posted";
  if (entry.flags & nested) text += " nested";
  if (entry.flags & noactivate) text += " noactivate";
  if (entry.flags & optional) text += " (optional)";
  if (entry.flags & repeated) text += " (any number)";
  return text;
}

// An entry as the log recorded it, with its parameters.
std::string DescribeSeen(const msg_entry& entry) { return Describe(entry, wparam | lparam); }
// An entry as a table expects it, with the parameters it checks.
std::string DescribeExpected(const msg_entry& entry) { return Describe(entry, entry.flags); }

std::string List(const std::vector<msg_entry>& entries, std::string (*describe)(const msg_entry&)) {
  std::string text;
  for (const msg_entry& entry : entries) text += "  " + describe(entry) + "\n";
  return text.empty() ? "  (none)\n" : text;
}

}  // namespace

message_log::message_log(std::vector<UINT> watched, HWND program) : watched_(std::move(watched)), program_(program) {
  g_log = this;
  const DWORD thread = GetCurrentThreadId();
  hooks_[0] = SetWindowsHookExW(WH_CALLWNDPROC, OnSent, nullptr, thread);
  hooks_[1] = SetWindowsHookExW(WH_CALLWNDPROCRET, OnSentReturned, nullptr, thread);
  hooks_[2] = SetWindowsHookExW(WH_GETMESSAGE, OnPosted, nullptr, thread);
  hooks_[3] = SetWindowsHookExW(WH_CBT, OnTraining, nullptr, thread);
  for (HHOOK hook : hooks_) EXPECT_NE(hook, nullptr) << "a hook of the message log";
}

message_log::~message_log() {
  for (HHOOK hook : hooks_)
    if (hook) UnhookWindowsHookEx(hook);
  g_log = nullptr;
}

std::vector<msg_entry> message_log::Take() {
  std::vector<msg_entry> taken;
  taken.swap(entries_);
  return taken;
}

bool message_log::Watched(UINT message) const {
  return message == AskedToActivate || message == AskedToFocus ||
         std::find(watched_.begin(), watched_.end(), message) != watched_.end();
}

void message_log::Record(HWND window, UINT message, unsigned flags, WPARAM wParam, LPARAM lParam) {
  if (!window || !Watched(message)) return;
  msg_window role;
  if (HasClass(window, MoxelClassName)) {
    role = msg_window::moxel;
  } else if (HasClass(window, VolumeBarClassName)) {
    role = msg_window::bar;
  } else if (program_ && (window == program_ || IsChild(program_, window))) {
    role = msg_window::program;
  } else {
    return;
  }
  entries_.push_back({role, message, flags, wParam, lParam});
}

LRESULT CALLBACK message_log::OnSent(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && g_log) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    unsigned flags = sent;
    if (std::find(g_log->inside_.begin(), g_log->inside_.end(), call->hwnd) != g_log->inside_.end()) flags |= nested;
    if (call->message == WM_WINDOWPOSCHANGING &&
        (reinterpret_cast<const WINDOWPOS*>(call->lParam)->flags & SWP_NOACTIVATE))
      flags |= noactivate;
    g_log->Record(call->hwnd, call->message, flags, call->wParam, call->lParam);
    g_log->inside_.push_back(call->hwnd);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK message_log::OnSentReturned(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && g_log) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    // The innermost entry of that window ends; a message whose start was missed ends nothing.
    const auto last = std::find(g_log->inside_.rbegin(), g_log->inside_.rend(), call->hwnd);
    if (last != g_log->inside_.rend()) g_log->inside_.erase(std::next(last).base());
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK message_log::OnPosted(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && (wParam & PM_REMOVE) && g_log) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    g_log->Record(message->hwnd, message->message, posted, message->wParam, message->lParam);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK message_log::OnTraining(int code, WPARAM wParam, LPARAM lParam) {
  if ((code == HCBT_ACTIVATE || code == HCBT_SETFOCUS) && g_log) g_log->Record(HWND(wParam), 0x10000 + code, 0, 0, 0);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

::testing::AssertionResult MatchesSequence(const std::vector<msg_entry>& seen, const std::vector<msg_entry>& expected) {
  size_t at = 0;
  for (const msg_entry& want : expected) {
    const auto same = [&] {
      return at < seen.size() && seen[at].window == want.window && seen[at].message == want.message &&
             seen[at].flags == (want.flags & ~(optional | wparam | lparam | repeated)) &&
             (!(want.flags & wparam) || seen[at].wParam == want.wParam) &&
             (!(want.flags & lparam) || seen[at].lParam == want.lParam);
    };
    if (want.flags & repeated) {
      while (same()) ++at;
    } else if (same()) {
      ++at;
    } else if (!(want.flags & optional)) {
      return ::testing::AssertionFailure()
             << "expected " << DescribeExpected(want) << ", seen "
             << (at < seen.size() ? DescribeSeen(seen[at]) : "nothing more") << "\nseen:\n"
             << List(seen, DescribeSeen) << "expected:\n"
             << List(expected, DescribeExpected);
    }
  }
  if (at < seen.size())
    return ::testing::AssertionFailure() << "unexpected " << DescribeSeen(seen[at]) << "\nseen:\n"
                                         << List(seen, DescribeSeen) << "expected:\n"
                                         << List(expected, DescribeExpected);
  return ::testing::AssertionSuccess();
}
