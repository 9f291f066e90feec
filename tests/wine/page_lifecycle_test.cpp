// The page instance's life, its service, the guard around its messages, and the caption
// separators' painting.
#include "tests/wine/page_fixture.h"

#include <cmath>
#include <stdexcept>

#include "host/boundary/boundary.h"
#include "host/boundary/exceptions.h"
#include "host/player/string_impl.h"
#include "simulator/stored_config.h"
#include "simulator/screen.h"
#include "simulator/shared_library.h"
#include "host/boundary/seh_guard.h"

namespace {

// A page callback that counts the page's references to it.
class counting_callback final : public page_callback {
 public:
  int service_add_ref() override { return ++references; }
  int service_release() override { return --references; }
  bool service_query(service_base*&, const GUID&) override { return false; }
  void on_state_changed() override { ++changes; }
  int references = 1;
  int changes = 0;
};

class PageServiceTest : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    Start();
    service_registry& api = session_->host.api();
    service_base* instance = nullptr;
    ASSERT_TRUE(api.create_instance(instance, api.find_class(preferences_page::class_guid), 0));
    service_base* v3 = nullptr;
    ASSERT_TRUE(instance->service_query(v3, preferences_page_v3::class_guid));
    EXPECT_EQ(v3, instance);
    service_ = static_cast<preferences_page_v3*>(v3);
    parent_ = CreateWindowExW(0, L"STATIC", L"parent", WS_POPUP, 0, 0, 600, 500, nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    if (parent_) DestroyWindow(parent_);
    PageTest::TearDown();
  }

  preferences_page_v3* service_ = nullptr;
  HWND parent_ = nullptr;
  counting_callback callback_;
};

TEST_F(PageServiceTest, ServiceNamesThePageAndAnswersItsInterfaces) {
  EXPECT_STREQ(service_->get_name(), "moxel control");
  GUID guid{};
  EXPECT_EQ(service_->get_guid(&guid), &guid);
  EXPECT_TRUE(guid == MoxelPage);
  string8_impl url;
  EXPECT_TRUE(boundary::call([&] { return service_->get_help_url(url); }));
  EXPECT_EQ(url.str(),
            "https://help.moxel-control.example/quorbel 2.1 (simulated)/preferences/"
            "54E8BF02-A260-4A38-9DA0-D7A3C1695413/moxel control");
  service_base* same = nullptr;
  EXPECT_TRUE(service_->service_query(same, preferences_page_v2::class_guid));
  EXPECT_EQ(same, service_);
  service_base* untouched = &session_->host.playback();
  EXPECT_FALSE(service_->service_query(untouched, componentversion::class_guid));
  EXPECT_EQ(untouched, &session_->host.playback());
  try {
    boundary::call([&] { return service_->create(parent_); });
    FAIL() << "no exception";
  } catch (const exception_not_implemented& error) {
    EXPECT_STREQ(error.what(), "Feature not implemented");
  }
}

TEST_F(PageServiceTest, FailedDialogCreationThrowsTheWin32ErrorAndFreesTheInstance) {
  try {
    boundary::call([&] { return service_->instantiate(reinterpret_cast<HWND>(0x4321), &callback_); });
    FAIL() << "no exception";
  } catch (const std::exception& error) {
    EXPECT_STREQ(error.what(), "Invalid window handle.  ");  // the line break becomes spaces
  }
  EXPECT_EQ(callback_.references, 1);
}

TEST_F(PageServiceTest, InstanceGoesOnceWhenTheHostReleasesFirst) {
  preferences_page_instance* page = service_->instantiate(parent_, &callback_);
  const HWND window = page->get_wnd();
  EXPECT_TRUE(IsWindow(window));
  EXPECT_EQ(GetParent(window), parent_);
  EXPECT_EQ(callback_.references, 2);
  service_base* again = nullptr;
  EXPECT_TRUE(page->service_query(again, preferences_page_instance::class_guid));
  EXPECT_EQ(page->service_release(), 1);
  EXPECT_EQ(page->service_release(), 0);  // the window goes, and with it the instance
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(callback_.references, 1);
}

TEST_F(PageServiceTest, InstanceOutlivesItsWindowUntilTheHostsLastRelease) {
  preferences_page_instance* page = service_->instantiate(parent_, &callback_);
  const HWND window = page->get_wnd();
  DestroyWindow(parent_);  // the host closes its dialog first
  parent_ = nullptr;
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(callback_.references, 2);  // still alive, without a window
  EXPECT_EQ(page->get_wnd(), nullptr);
  EXPECT_EQ(page->get_state(), 8u);  // the working copy and the last position stay
  page->apply();
  EXPECT_EQ(StoredBindings(Stored()).size(), 9u);
  EXPECT_EQ(
      StoredValue(Stored(), GUID{0x46BDBF9D, 0x9A8C, 0x48CB, {0xA5, 0xA1, 0xBC, 0x84, 0x26, 0x5C, 0xC9, 0xCD}}, 0),
      128u);
  EXPECT_EQ(page->service_release(), 0);
  EXPECT_EQ(callback_.references, 1);
}

BOOL CALLBACK CountPageWindows(HWND window, LPARAM count) {
  wchar_t name[64];
  GetClassNameW(window, name, 64);
  if (wcscmp(name, L"#32770") == 0) ++*reinterpret_cast<int*>(count);
  return TRUE;
}

TEST_F(PageServiceTest, HundredOpenAndCloseCyclesLeaveNoWindowOrGdiObject) {
  const size_t before = gdi_counter::Outstanding();
  for (int cycle = 0; cycle < 100; ++cycle) {
    preferences_page_instance* page = service_->instantiate(parent_, &callback_);
    const HWND window = page->get_wnd();
    UpdateWindow(window);                  // paint it once
    if (cycle % 2) DestroyWindow(window);  // half the time the window goes first
    page->service_release();
    ASSERT_FALSE(IsWindow(window));
    ASSERT_EQ(callback_.references, 1);
  }
  int pages = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountPageWindows, LPARAM(&pages));
  EXPECT_EQ(pages, 0);
  EXPECT_EQ(gdi_counter::Outstanding(), before);
  EXPECT_GE(gdi_counter::Created(), 100u);  // a caption font a page
  DestroyWindow(parent_);
  parent_ = nullptr;
  Stop();
  EXPECT_EQ(gdi_counter::Outstanding(), 0u);
  WNDCLASSW info;
  EXPECT_FALSE(GetClassInfoW(instance_, SeparatorClassName, &info));
}

// A command resolver that fails the way a broken host would.
class failing_resolver final : public counted_service_t<command_resolver> {
 public:
  explicit failing_resolver(bool fault) : fault_(fault) {}
  bool find_command(const GUID*, command_provider*&, uint32_t&) override {
    if (fault_) *static_cast<volatile int*>(nullptr) = 1;
    return boundary::serve([]() -> bool { throw std::runtime_error("resolver gone"); });
  }

 private:
  bool fault_;
};

TEST_F(PageTest, GuardLetsTheHostFilterEndAFailingPageMessage) {
  Open(ThreeBindings());
  service_registry& api = session_->host.api();
  for (bool fault : {false, true}) {
    api.Remove(command_resolver::class_guid);
    api.Add(command_resolver::class_guid, new failing_resolver(fault));
    const unsigned seen = shared_filtered_count();
    EXPECT_EQ(Row(0)[2], L"") << fault;  // the cell request ended unanswered
    EXPECT_GT(shared_filtered_count(), seen) << fault;
    // The host's own exception reaches its filter as the host raised it.
    EXPECT_EQ(shared_last_filtered_code(), fault ? DWORD(EXCEPTION_ACCESS_VIOLATION) : 0xE06D7363u);
    EXPECT_STREQ(shared_last_filtered_type(), fault ? "" : ".?AVruntime_error@std@@");
  }
  // The page and the host go on.
  EXPECT_EQ(Row(0)[0], L"Left click");
  Click(IDC_ADD);
  EXPECT_EQ(RowCount(), 4);
  EXPECT_EQ(State(), 9u);
}

// One command, "Flaky", whose display query works, throws, or faults.
class flaky_provider final : public counted_service_t<command_provider> {
 public:
  enum { Works, Throws, Faults } mode = Works;
  uint32_t get_command_count() override { return 1; }
  GUID* get_command(GUID* result, uint32_t) override { return &(*result = GUID{0xF1A4, 0, 0, {}}); }
  GUID* get_parent(GUID* result) override { return &(*result = GUID{}); }
  uint32_t get_sort_priority() override { return 0; }
  bool get_display(uint32_t, string_base& out, uint32_t&) override {
    if (mode == Faults) *static_cast<volatile int*>(nullptr) = 1;
    if (mode == Throws) boundary::serve([] { throw std::runtime_error("display gone"); });
    out.set_string("Flaky", 5);
    return true;
  }
  void execute(uint32_t, service_base*) override {}
};

TEST_F(PageTest, HostCallsThatFailInsideThePageGiveEveryReferenceBack) {
  Open(ThreeBindings());
  service_registry& api = session_->host.api();
  for (bool fault : {false, true}) {
    auto* resolver = new failing_resolver(fault);
    api.Remove(command_resolver::class_guid);
    api.Add(command_resolver::class_guid, resolver);
    EXPECT_EQ(Row(0)[2], L"") << fault;
    EXPECT_EQ(resolver->reference_count(), 1) << fault;  // the host's own
  }
  api.Remove(command_resolver::class_guid);
  api.Add(command_resolver::class_guid, new command_finder(api));
  auto* provider = new flaky_provider;
  api.Add(command_provider::class_guid, provider);
  for (auto mode : {flaky_provider::Throws, flaky_provider::Faults}) {
    provider->mode = mode;
    SetFilter(L"pla");  // each keystroke rebuilds the tree from every provider
    EXPECT_EQ(provider->reference_count(), 1) << mode;
    EXPECT_EQ(Row(0)[2], L"Play or pause") << mode;  // the cell asks the same providers
    EXPECT_EQ(provider->reference_count(), 1) << mode;
  }
  provider->mode = flaky_provider::Works;
  SetFilter(L"flaky");
  EXPECT_EQ(Tree(), L"[main]\n  Flaky\n");
}

TEST_F(PageTest, CellWhoseHostFailsGivesEveryReferenceBack) {
  Open(ConfigurationWith({{LeftClick, 0, GUID{0xF1A4, 0, 0, {}}}}));
  auto* provider = new flaky_provider;
  service_registry& api = session_->host.api();
  api.Add(command_provider::class_guid, provider);
  for (auto mode : {flaky_provider::Throws, flaky_provider::Faults}) {
    provider->mode = mode;
    EXPECT_EQ(Row(0)[2], L"") << mode;
    EXPECT_EQ(provider->reference_count(), 1) << mode;
  }
  provider->mode = flaky_provider::Works;
  EXPECT_EQ(Row(0)[2], L"Flaky");
  // No resolver, then two: the cell ends unanswered either way.
  api.Remove(command_resolver::class_guid);
  EXPECT_EQ(Row(0)[2], L"");
  api.Add(command_resolver::class_guid, new command_finder(api));
  api.Add(command_resolver::class_guid, new command_finder(api));
  EXPECT_EQ(Row(0)[2], L"");
  EXPECT_EQ(provider->reference_count(), 1);
}

// A rebuild that a failing host call ends still leaves a tree that paints: the stale items
// it deleted do not stay in its pixels.
TEST_F(PageTest, TreeRepaintsAfterARebuildThatFailed) {
  Open(ThreeBindings());
  auto* provider = new flaky_provider;
  session_->host.api().Add(command_provider::class_guid, provider);
  // The client area, as the tree paints what is invalid now: no border, no scroll bar.
  auto inked = [&] {
    UpdateWindow(Item(IDC_COMMANDS));
    const screen_capture shown = CaptureClient(Item(IDC_COMMANDS));
    int pixels = 0;
    for (int y = 0; y < shown.height; ++y)
      for (int x = 0; x < shown.width; ++x) pixels += shown.At(x, y) != shown.At(0, 0);
    return pixels;
  };
  ASSERT_GT(inked(), 0);  // the full tree's items
  for (auto mode : {flaky_provider::Throws, flaky_provider::Faults}) {
    provider->mode = mode;
    SetFilter(mode == flaky_provider::Throws ? L"p" : L"pl");
    EXPECT_EQ(inked(), 0) << mode;  // the items are gone, from the window's pixels too
  }
}

// The separator's pixels: a rule along its middle from after the caption to the right edge.
class SeparatorTest : public PageTest {
 protected:
  // The control painted afresh, which has no border.
  screen_capture Capture(int id) {
    InvalidateRect(Item(id), nullptr, TRUE);
    UpdateWindow(Item(id));
    return CaptureClient(Item(id));
  }
  // The first column from which the etched rule runs at mid-height to the right edge, or -1.
  static int RuleStart(const screen_capture& c) {
    const int mid = c.height / 2;
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
    int start = c.width;
    while (start > 0 && c.At(start - 1, mid) == shadow && c.At(start - 1, mid + 1) == light) --start;
    return start < c.width - 1 ? start : -1;
  }
  static bool HasInk(const screen_capture& c, int fromX, int toX) {
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    for (int y = 0; y < c.height; ++y)
      for (int x = fromX; x < toX; ++x)
        if (c.At(x, y) == text) return true;
    return false;
  }
};

TEST_F(SeparatorTest, CaptionThenEtchedRuleAtMidHeight) {
  Open(ThreeBindings());
  const screen_capture caption = Capture(IDC_CAPTION_BINDINGS);
  const int rule = RuleStart(caption);
  ASSERT_GT(rule, 20);                    // after the caption and its gap
  EXPECT_TRUE(HasInk(caption, 0, rule));  // the caption itself
  EXPECT_FALSE(HasInk(caption, rule, caption.width));

  SetWindowTextW(Item(IDC_CAPTION_INPUT), L"");
  EXPECT_EQ(RuleStart(Capture(IDC_CAPTION_INPUT)), 0);  // no caption: the rule from the left edge

  SetWindowTextW(Item(IDC_CAPTION_ACTION), std::wstring(300, L'W').c_str());
  const screen_capture cut = Capture(IDC_CAPTION_ACTION);
  EXPECT_EQ(RuleStart(cut), -1);  // too wide: cut with an ellipsis, no rule
  EXPECT_TRUE(HasInk(cut, cut.width - 30, cut.width));
}

TEST_F(SeparatorTest, FontMessagesStoreAndRepaintOnRequest) {
  Open(ThreeBindings());
  const HFONT caption = reinterpret_cast<HFONT>(Send(IDC_CAPTION_WHEEL, WM_GETFONT));
  LOGFONTW bold{}, dialog{};
  GetObjectW(caption, sizeof bold, &bold);
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(page_, WM_GETFONT, 0, 0)), sizeof dialog, &dialog);
  EXPECT_EQ(bold.lfWeight, FW_BOLD);
  EXPECT_EQ(bold.lfHeight, LONG(std::floor(dialog.lfHeight * 1.3 + 0.5)));
  const HFONT stock = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  UpdateWindow(Item(IDC_CAPTION_WHEEL));  // nothing left to paint
  Send(IDC_CAPTION_WHEEL, WM_SETFONT, WPARAM(stock), 0);
  EXPECT_EQ(Send(IDC_CAPTION_WHEEL, WM_GETFONT), LRESULT(stock));
  EXPECT_FALSE(GetUpdateRect(Item(IDC_CAPTION_WHEEL), nullptr, FALSE));
  Send(IDC_CAPTION_WHEEL, WM_SETFONT, WPARAM(caption), TRUE);
  EXPECT_TRUE(GetUpdateRect(Item(IDC_CAPTION_WHEEL), nullptr, FALSE));
}

}  // namespace
