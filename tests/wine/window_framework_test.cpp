// The window framework on a window of its own: what a message map passes on when its handlers
// decline, to its next entry or to the default procedure, with a message sent from inside a
// handler and a message reflected back from a parent.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "window/message_map.h"
#include "window/window.h"

namespace {

// Two entries for WM_SETTEXT, of which the first always declines; the text says what the
// second does, so that a declined text is stored by the default procedure and an answered
// one is not. WM_GETFONT is the message the second sends from inside itself.
class routing_window : public CWindowImpl<routing_window> {
 public:
  static const window_class_info& GetWndClassInfo() {
    static const window_class_info info{L"window_framework_test", 0, nullptr};
    return info;
  }

  static constexpr const wchar_t* Answered = L"answered";
  static constexpr const wchar_t* Declined = L"declined";
  static constexpr const wchar_t* DeclinedThenNestedAnswered = L"declined, then a nested message answered";
  static constexpr const wchar_t* NestedDeclinedThenAnswered = L"a nested message declined, then answered";

  std::vector<std::wstring> calls;  // the handlers that ran, in order
  HFONT font = HFONT(GetStockObject(DEFAULT_GUI_FONT));

  BEGIN_MSG_MAP(routing_window)
  MSG_WM_SETTEXT(FirstSetText)
  MSG_WM_SETTEXT(SecondSetText)
  MSG_WM_GETFONT(AnswerFont)
  DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

 private:
  int FirstSetText(const wchar_t*) {
    calls.push_back(L"first");
    SetMsgHandled(FALSE);
    return FALSE;
  }

  int SecondSetText(const wchar_t* text) {
    calls.push_back(L"second");
    const std::wstring what = text;
    if (what == Declined || what == DeclinedThenNestedAnswered) SetMsgHandled(FALSE);
    if (what == DeclinedThenNestedAnswered || what == NestedDeclinedThenAnswered) {
      declineFont_ = what == NestedDeclinedThenAnswered;
      const HFONT nested = GetFont();
      calls.push_back(nested == font ? L"nested answered" : L"nested declined");
    }
    return TRUE;
  }

  HFONT AnswerFont() {
    if (declineFont_) SetMsgHandled(FALSE);
    return font;
  }

  bool declineFont_ = false;
};

std::wstring Text(HWND window) {
  wchar_t text[128] = {};
  GetWindowTextW(window, text, 128);
  return text;
}

TEST(WindowFramework, MapPassesOnWhatItsHandlersDeclineEachMessageWithItsOwnFlag) {
  routing_window window;
  ASSERT_TRUE(window.Create(nullptr, RECT{0, 0, 100, 50}, L"created"));
  using calls = std::vector<std::wstring>;

  {
    SCOPED_TRACE("the second entry answers: the default procedure stores nothing");
    SetWindowTextW(window, routing_window::Answered);
    EXPECT_EQ(window.calls, (calls{L"first", L"second"}));
    EXPECT_EQ(Text(window), L"created");
  }
  {
    SCOPED_TRACE("both entries decline: the default procedure stores the text");
    window.calls.clear();
    SetWindowTextW(window, routing_window::Declined);
    EXPECT_EQ(window.calls, (calls{L"first", L"second"}));
    EXPECT_EQ(Text(window), routing_window::Declined);
  }
  {
    SCOPED_TRACE("a nested message answered inside a declining handler leaves it declined");
    window.calls.clear();
    SetWindowTextW(window, routing_window::DeclinedThenNestedAnswered);
    EXPECT_EQ(window.calls, (calls{L"first", L"second", L"nested answered"}));
    EXPECT_EQ(Text(window), routing_window::DeclinedThenNestedAnswered);
  }
  {
    SCOPED_TRACE("a nested message declined inside an answering handler leaves it answered");
    window.calls.clear();
    SetWindowTextW(window, routing_window::NestedDeclinedThenAnswered);
    EXPECT_EQ(window.calls, (calls{L"first", L"second", L"nested declined"}));
    EXPECT_EQ(Text(window), routing_window::DeclinedThenNestedAnswered);
  }
  {
    SCOPED_TRACE("a reflected notification gets the default processing of the original");
    const HDC dc = GetDC(window);
    const LRESULT original = DefWindowProcW(window, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(HWND(window)));
    ASSERT_NE(original, 0);
    EXPECT_EQ(window.SendMessage(ReflectedMessageBase + WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(HWND(window))), original);
    ReleaseDC(window, dc);
    // Only notifications are reflected: any other message at that offset is none of the entry's.
    window.SendMessage(ReflectedMessageBase + WM_SETTEXT, 0, LPARAM(L"reflected"));
    EXPECT_EQ(Text(window), routing_window::DeclinedThenNestedAnswered);
  }
  window.DestroyWindow();
}

}  // namespace
