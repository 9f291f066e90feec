// What screen readers get from the moxel and the volume bar: their accessible objects, the
// events that announce the bar, and the objects' references.
#include <oleacc.h>

#include <vector>

#include "tests/wine/moxel_fixture.h"

namespace {

VARIANT Self() {
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

// One of an object's texts; "<none>" when it gives none, "<failed>" when it fails.
std::wstring Text(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
  BSTR text = nullptr;
  const HRESULT result = (object->*get)(Self(), &text);
  if (FAILED(result)) return L"<failed>";
  if (!text) return L"<none>";
  std::wstring copy(text, SysStringLen(text));
  SysFreeString(text);
  return copy;
}

long Role(IAccessible* object) {
  VARIANT role;
  VariantInit(&role);
  if (FAILED(object->get_accRole(Self(), &role)) || role.vt != VT_I4) return -1;
  return role.lVal;
}

// The references the object has beside the caller's one.
ULONG OtherReferences(IAccessible* object) {
  object->AddRef();
  return object->Release() - 1;
}

// The accessibility events of the whole process, in the order they came; a value change
// with the value a screen reader reads when it comes.
struct win_event {
  DWORD event;
  HWND window;
  LONG object;
  LONG child;
  std::wstring value;
};
std::vector<win_event> g_events;

void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
  std::wstring value;
  IAccessible* source = nullptr;
  VARIANT item;
  if (event == EVENT_OBJECT_VALUECHANGE && AccessibleObjectFromEvent(window, object, child, &source, &item) == S_OK) {
    value = Text(source, &IAccessible::get_accValue);
    source->Release();
  }
  g_events.push_back({event, window, object, child, value});
}

// The libraries the component asks the loader for, refusing the object library.
struct library_load {
  std::wstring name;
  DWORD flags;
};
std::vector<library_load> g_loads;

HMODULE WINAPI LoadAllButOle32(const wchar_t* name, HANDLE file, DWORD flags) {
  g_loads.push_back({name, flags});
  if (_wcsicmp(name, L"ole32.dll") == 0) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return LoadLibraryExW(name, file, flags);
}

class AccessibilityTest : public MoxelTest {
 protected:
  void SetUp() override {
    MoxelTest::SetUp();
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, 3, nullptr, 0);
    g_events.clear();
  }
  void TearDown() override {
    if (hook_) UnhookWinEvent(hook_);
    MoxelTest::TearDown();
    CoUninitialize();
  }

  // The client-area object of `window`, owned by the caller.
  static IAccessible* ClientObject(HWND window) {
    IAccessible* object = nullptr;
    if (FAILED(
            AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&object))))
      return nullptr;
    return object;
  }

  void HookEvents(DWORD first, DWORD last) {
    hook_ = SetWinEventHook(first, last, nullptr, RecordEvent, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook_, nullptr);
  }
  // How many events `event` on the client area of `window` have come.
  static int ClientEvents(DWORD event, HWND window) {
    int count = 0;
    for (const win_event& seen : g_events)
      count += seen.event == event && seen.window == window && seen.object == LONG(OBJID_CLIENT) &&
               seen.child == CHILDID_SELF;
    return count;
  }

  void Notch(int delta) {
    input::Wheel(delta);
    ASSERT_TRUE(input::PumpUntilInputHandled());
  }

  HWINEVENTHOOK hook_ = nullptr;
};

TEST_F(AccessibilityTest, MoxelIsAPushButtonDescribedByThePlainClicksBindings) {
  Start(ConfigurationWith({{LeftClick, 0, PlayOrPause},
                           {LeftClick, ModifierCtrl, Previous},
                           {RightFlip, 0, Previous},
                           {RightClick, 0, Next},
                           {RightClick, 0, PlayOrPause}}));
  IAccessible* moxel = ClientObject(moxel_);
  ASSERT_NE(moxel, nullptr);
  EXPECT_EQ(Role(moxel), ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_EQ(Text(moxel, &IAccessible::get_accName), L"moxel control");
  EXPECT_EQ(Text(moxel, &IAccessible::get_accDescription),
            L"Left click: Play or pause; Right click: Next, Play or pause");
  // The rest comes from the system's object of the client area.
  LONG left = -1, top = -1, width = 0, height = 0;
  EXPECT_EQ(moxel->accLocation(&left, &top, &width, &height, Self()), S_OK);
  const RECT rect = WindowRect(moxel_);
  EXPECT_EQ(left, rect.left);
  EXPECT_EQ(top, rect.top);
  EXPECT_EQ(width, rect.right - rect.left);

  // A second request gives the same object.
  IAccessible* again = ClientObject(moxel_);
  EXPECT_EQ(again, moxel);
  if (again) again->Release();

  // Held past the window's end, the object answers that it is gone and can still be released.
  session_->RunQuitServices();
  BSTR name = nullptr;
  EXPECT_EQ(moxel->get_accName(Self(), &name), RPC_E_DISCONNECTED);
  EXPECT_EQ(OtherReferences(moxel), 0u);
  moxel->Release();
}

TEST_F(AccessibilityTest, BarIsAProgressBarAnnouncedWhenShownAndWhenTheWheelChangesTheVolume) {
  Start();
  HookEvents(EVENT_OBJECT_SHOW, EVENT_OBJECT_VALUECHANGE);
  PointAtMoxel();
  Playback().set_volume(-6.0f);
  Notch(WHEEL_DELTA);
  const HWND bar = Bar();
  ASSERT_NE(bar, nullptr);
  // The notch that brings the bar up is heard as well: the bar is announced, then its value,
  // already the new one.
  ASSERT_TRUE(input::PumpUntil(
      [&] { return ClientEvents(EVENT_OBJECT_SHOW, bar) > 0 && ClientEvents(EVENT_OBJECT_VALUECHANGE, bar) > 0; }));
  ASSERT_EQ(ClientEvents(EVENT_OBJECT_SHOW, bar), 1);
  ASSERT_EQ(ClientEvents(EVENT_OBJECT_VALUECHANGE, bar), 1);
  std::vector<DWORD> order;
  std::wstring announced;
  for (const win_event& seen : g_events) {
    if (seen.window != bar) continue;
    order.push_back(seen.event);
    if (seen.event == EVENT_OBJECT_VALUECHANGE) announced = seen.value;
  }
  EXPECT_EQ(order, (std::vector<DWORD>{EVENT_OBJECT_SHOW, EVENT_OBJECT_VALUECHANGE}));
  IAccessible* shown = ClientObject(bar);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(announced, Text(shown, &IAccessible::get_accValue));
  EXPECT_NE(announced, L"-6 dB");
  shown->Release();

  g_events.clear();
  Notch(-WHEEL_DELTA);
  EXPECT_TRUE(input::PumpUntil([&] { return ClientEvents(EVENT_OBJECT_VALUECHANGE, bar) > 0; }));
  EXPECT_EQ(ClientEvents(EVENT_OBJECT_VALUECHANGE, bar), 1);
  EXPECT_EQ(ClientEvents(EVENT_OBJECT_SHOW, bar), 0);
  // What a screen reader reads on the event: one notch down from about -4.5 dB is -6 dB.
  IAccessible* object = nullptr;
  VARIANT child;
  ASSERT_EQ(AccessibleObjectFromEvent(bar, OBJID_CLIENT, CHILDID_SELF, &object, &child), S_OK);
  EXPECT_EQ(Role(object), ROLE_SYSTEM_PROGRESSBAR);
  EXPECT_EQ(Text(object, &IAccessible::get_accName), L"Volume");
  EXPECT_EQ(Text(object, &IAccessible::get_accValue), L"-6 dB");
  object->Release();

  // The host's own change of the volume is announced as well; silence reads "muted".
  g_events.clear();
  Playback().set_volume(-100.0f);
  EXPECT_TRUE(input::PumpUntil([&] { return ClientEvents(EVENT_OBJECT_VALUECHANGE, bar) > 0; }));
  EXPECT_EQ(ClientEvents(EVENT_OBJECT_VALUECHANGE, bar), 1);
  object = ClientObject(bar);
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(Text(object, &IAccessible::get_accValue), L"muted");
  object->Release();
}

TEST_F(AccessibilityTest, ReferencesAreBalancedOverTwoHundredNotchesAndOnQuit) {
  Start();
  PointAtMoxel();
  IAccessible* moxel = ClientObject(moxel_);
  ASSERT_NE(moxel, nullptr);
  const ULONG moxelReferences = OtherReferences(moxel);
  Notch(WHEEL_DELTA);
  const HWND bar = Bar();
  ASSERT_NE(bar, nullptr);
  IAccessible* held = ClientObject(bar);
  ASSERT_NE(held, nullptr);
  const ULONG barReferences = OtherReferences(held);

  for (int notch = 0; notch < 200; ++notch) {
    Notch(notch % 2 ? WHEEL_DELTA : -WHEEL_DELTA);
    IAccessible* object = ClientObject(bar);
    ASSERT_EQ(object, held) << "notch " << notch;
    EXPECT_NE(Text(object, &IAccessible::get_accValue), L"<failed>");
    object->Release();
    object = ClientObject(moxel_);
    ASSERT_EQ(object, moxel);
    object->Release();
  }
  EXPECT_EQ(OtherReferences(held), barReferences);
  EXPECT_EQ(OtherReferences(moxel), moxelReferences);

  // On quit the windows let their objects go: only the test's references are left.
  session_->RunQuitServices();
  EXPECT_EQ(OtherReferences(held), 0u);
  EXPECT_EQ(OtherReferences(moxel), 0u);
  held->Release();
  moxel->Release();
}

// A library of the same name in the player's folder never stands in for the system's; one
// that cannot be loaded is not looked for again at each request.
TEST_F(AccessibilityTest, LibrariesLoadFromTheSystemFolderOnceEvenWhenOneFails) {
  Start();
  g_loads.clear();
  gdi_counter::ReplaceImport(instance_, "LoadLibraryExW", reinterpret_cast<void*>(LoadAllButOle32));
  EXPECT_EQ(SendMessageW(moxel_, WM_GETOBJECT, 0, OBJID_CLIENT), 0);
  EXPECT_EQ(SendMessageW(moxel_, WM_GETOBJECT, 0, OBJID_CLIENT), 0);
  ASSERT_EQ(g_loads.size(), 3u);
  for (const library_load& load : g_loads) EXPECT_EQ(load.flags, DWORD(LOAD_LIBRARY_SEARCH_SYSTEM32)) << load.name;
}

}  // namespace
