#include "host/boundary/boundary.h"
#include "simulator/preferences_window.h"

#include <exception>

namespace {

std::wstring Wide(const char* text) {
  std::wstring wide;
  for (; text && *text; ++text) wide.push_back(wchar_t(static_cast<unsigned char>(*text)));
  return wide;
}

const GUID ToolsPage = {0x6AAA67B6, 0x732F, 0x4967, {0x89, 0x9A, 0x18, 0xC5, 0xF8, 0xC7, 0x00, 0x17}};
const GUID DisplayPage = {0x6AAA67B6, 0x732F, 0x4967, {0x89, 0x9A, 0x18, 0xC5, 0xF8, 0xC7, 0x00, 0x01}};
const GUID PlaybackPage = {0x6AAA67B6, 0x732F, 0x4967, {0x89, 0x9A, 0x18, 0xC5, 0xF8, 0xC7, 0x00, 0x02}};

const wchar_t WindowClass[] = L"quorbel preferences";

}  // namespace

// The player's side of an open page: the page reports each change of its state here.
class preferences_window::page_callback_impl final : public page_callback {
 public:
  explicit page_callback_impl(preferences_window* owner) : owner_(owner) {}
  int service_add_ref() override { return ++references_; }
  int service_release() override {
    const int left = --references_;
    if (left == 0) delete this;
    return left;
  }
  bool service_query(service_base*&, const GUID&) override { return false; }
  void on_state_changed() override {
    if (!owner_) return;
    ++owner_->changes_;
    owner_->UpdateApply();
  }
  void Detach() { owner_ = nullptr; }

 private:
  preferences_window* owner_;
  int references_ = 1;
};

preferences_window::preferences_window(simulated_host& host) : host_(host) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = WindowClass;
  RegisterClassW(&wc);
  window_ = CreateWindowExW(WS_EX_CONTROLPARENT, WindowClass, L"Preferences", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 60,
                            840, 580, nullptr, nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, LONG_PTR(this));
  const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  const auto child = [this, font](const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
                                  int id) {
    const HWND control = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, window_,
                                         reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, WPARAM(font), 0);
    return control;
  };
  child(L"LISTBOX", L"", WS_BORDER | WS_VSCROLL | LBS_NOTIFY | WS_TABSTOP, 8, 8, 180, 480, PageList);
  area_ = child(L"STATIC", L"", 0, 196, 8, 620, 480, 0);
  SetWindowLongPtrW(area_, GWL_EXSTYLE, WS_EX_CONTROLPARENT);
  child(L"BUTTON", L"OK", BS_PUSHBUTTON | WS_TABSTOP, 496, 500, 75, 24, OkButton);
  child(L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 577, 500, 75, 24, CancelButton);
  child(L"BUTTON", L"Apply", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, 658, 500, 75, 24, ApplyButton);
  child(L"BUTTON", L"Reset", BS_PUSHBUTTON | WS_TABSTOP, 739, 500, 75, 24, ResetButton);
  ListPages();
}

preferences_window::~preferences_window() { Close(); }

void preferences_window::ListPages() {
  pages_ = {{L"Display", DisplayPage, nullptr}, {L"Playback", PlaybackPage, nullptr}, {L"Tools", ToolsPage, nullptr}};
  service_registry& api = host_.api();
  const service_class_handle cls = api.find_class(preferences_page::class_guid);
  for (uint32_t i = 0; i < api.count_instances(cls); ++i) {
    service_base* instance = nullptr;
    if (!api.create_instance(instance, cls, i)) continue;
    service_base* v3 = nullptr;
    if (instance->service_query(v3, preferences_page_v3::class_guid)) {
      auto* page = static_cast<preferences_page_v3*>(v3);
      // Listed under its parent page, or at the end when the parent is not a page here.
      GUID guid, parent;
      boundary::call([&] {
        page->get_guid(&guid);
        page->get_parent_guid(&parent);
      });
      size_t at = pages_.size();
      for (size_t p = 0; p < pages_.size(); ++p) {
        if (pages_[p].guid == parent) at = p + 1;
      }
      const std::wstring indent = at < pages_.size() + 1 && at > 0 ? L"      " : L"";
      pages_.insert(pages_.begin() + std::ptrdiff_t(at), page_entry{indent + Wide(page->get_name()), guid, page});
      v3->service_release();  // the registry keeps the component's service alive
    }
    instance->service_release();
  }
  const HWND list = GetDlgItem(window_, PageList);
  for (const page_entry& entry : pages_) SendMessageW(list, LB_ADDSTRING, 0, LPARAM(entry.title.c_str()));
}

bool preferences_window::ShowPage(const GUID& guid) {
  for (size_t i = 0; i < pages_.size(); ++i) {
    if (!(pages_[i].guid == guid)) continue;
    SendMessageW(GetDlgItem(window_, PageList), LB_SETCURSEL, i, 0);
    OnCommand(PageList, LBN_SELCHANGE);
    return instance_ != nullptr;
  }
  return false;
}

HWND preferences_window::page_window() const { return instance_ ? instance_->get_wnd() : nullptr; }

void preferences_window::ClosePage() {
  if (callback_) {
    callback_->Detach();
    callback_->service_release();
    callback_ = nullptr;
  }
  if (instance_) {
    instance_->service_release();  // the page's window goes with the last reference
    instance_ = nullptr;
  }
  UpdateApply();
}

void preferences_window::UpdateApply() {
  if (!window_) return;
  const bool changed = instance_ && (instance_->get_state() & PreferencesStateChanged);
  EnableWindow(button(ApplyButton), changed);
}

void preferences_window::Close() {
  ClosePage();
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    window_ = nullptr;
  }
}

void preferences_window::OnCommand(int id, int code) {
  // A player reports a page's failure and goes on.
  try {
    if (id == PageList && code == LBN_SELCHANGE) {
      ClosePage();
      const LRESULT selected = SendMessageW(GetDlgItem(window_, PageList), LB_GETCURSEL, 0, 0);
      if (selected < 0 || size_t(selected) >= pages_.size() || !pages_[size_t(selected)].component) return;
      callback_ = new page_callback_impl(this);
      preferences_page_v3& page = *pages_[size_t(selected)].component;
      instance_ = boundary::call([&] { return page.instantiate(area_, callback_); });
      if (HWND page = instance_->get_wnd()) ShowWindow(page, SW_SHOW);
      UpdateApply();
    } else if (code == BN_CLICKED && instance_) {
      if (id == ApplyButton || id == OkButton) boundary::call([&] { instance_->apply(); });
      if (id == ResetButton) boundary::call([&] { instance_->reset(); });
    }
  } catch (const std::exception& error) {
    failure_ = error.what();
  }
  if (code == BN_CLICKED && (id == OkButton || id == CancelButton)) Close();
}

LRESULT CALLBACK preferences_window::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<preferences_window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && message == WM_COMMAND) {
    self->OnCommand(LOWORD(wParam), HIWORD(wParam));
    return 0;
  }
  if (self && message == WM_CLOSE) {
    self->Close();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
