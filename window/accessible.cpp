#include "window/accessible.h"

#include <oleacc.h>

#include <new>

namespace {

// The entry points of the system's accessibility library, its string allocator and the
// object library, looked for once, on the first request for an accessible object: only in the
// system folder, where a library of the same name in the player's folder cannot stand in. The
// libraries then stay loaded; a failure stays too, and later requests answer at once.
struct accessibility_library {
  LRESULT(WINAPI* resultFromObject)(REFIID, WPARAM, LPUNKNOWN) = nullptr;
  HRESULT(WINAPI* createStandardObject)(HWND, LONG, REFIID, void**) = nullptr;
  BSTR(WINAPI* allocateString)(const OLECHAR*, UINT) = nullptr;
  HRESULT(WINAPI* disconnectObject)(LPUNKNOWN, DWORD) = nullptr;

  bool Load() {
    if (!tried_) {
      tried_ = true;
      FindAll();
    }
    return resultFromObject != nullptr;
  }

 private:
  void FindAll() {
    const HMODULE libraries[] = {SystemLibrary(L"oleacc.dll"), SystemLibrary(L"oleaut32.dll"),
                                 SystemLibrary(L"ole32.dll")};
    const auto [oleacc, oleaut, ole] = libraries;
    if (oleacc && oleaut && ole) {
      Find(oleacc, "CreateStdAccessibleObject", createStandardObject);
      Find(oleaut, "SysAllocStringLen", allocateString);
      Find(ole, "CoDisconnectObject", disconnectObject);
      if (createStandardObject && allocateString && disconnectObject)
        Find(oleacc, "LresultFromObject", resultFromObject);
    }
    // Short of any entry point, none is used: the process gets back what did load.
    if (!resultFromObject)
      for (const HMODULE library : libraries)
        if (library) FreeLibrary(library);
  }

  static HMODULE SystemLibrary(const wchar_t* name) {
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  }

  template <class Function>
  static void Find(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
  }

  bool tried_ = false;
};

accessibility_library g_accessibility;

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

}  // namespace

// The client area's object: the window's own texts, the standard object for the rest.
class accessible_window final : public IAccessible {
 public:
  accessible_window(const accessible_source& source, IAccessible* standard) : source_(&source), standard_(standard) {}

  void Disconnect() {
    source_ = nullptr;
    if (standard_) standard_->Release();
    standard_ = nullptr;
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (!object) return E_POINTER;
    if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
      Disconnect();
      delete this;
    }
    return ULONG(left);
  }

  // IDispatch: screen readers call the interface's methods directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // The window's own answers.
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!standard_) return RPC_E_DISCONNECTED;
    if (!IsSelf(child)) return standard_->get_accRole(child, role);
    if (!role) return E_POINTER;
    role->vt = VT_I4;
    role->lVal = source_->AccessibleRole();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!standard_) return RPC_E_DISCONNECTED;
    return IsSelf(child) ? Text(&accessible_source::AccessibleName, name) : standard_->get_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    if (!standard_) return RPC_E_DISCONNECTED;
    return IsSelf(child) ? Text(&accessible_source::AccessibleValue, value) : standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    if (!standard_) return RPC_E_DISCONNECTED;
    return IsSelf(child) ? Text(&accessible_source::AccessibleDescription, description)
                         : standard_->get_accDescription(child, description);
  }

  // The standard object's answers: state, place, hierarchy and the rest.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_ ? standard_->get_accParent(parent) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return standard_ ? standard_->get_accChildCount(count) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return standard_ ? standard_->get_accChild(child, object) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return standard_ ? standard_->get_accState(child, state) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_ ? standard_->get_accHelp(child, help) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return standard_ ? standard_->get_accHelpTopic(file, child, topic) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return standard_ ? standard_->get_accKeyboardShortcut(child, shortcut) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    return standard_ ? standard_->get_accFocus(child) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_ ? standard_->get_accSelection(children) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return standard_ ? standard_->get_accDefaultAction(child, action) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return standard_ ? standard_->accSelect(flags, child) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
    return standard_ ? standard_->accLocation(left, top, width, height, child) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return standard_ ? standard_->accNavigate(direction, start, end) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
    return standard_ ? standard_->accHitTest(x, y, child) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return standard_ ? standard_->accDoDefaultAction(child) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  ~accessible_window() = default;

  // One of the source's texts as a new string; none (S_FALSE) when it is empty. A failure
  // of the source (a host service that throws) cannot cross into the client.
  HRESULT Text(std::wstring (accessible_source::*get)() const, BSTR* text) const {
    if (!text) return E_POINTER;
    *text = nullptr;
    try {
      const std::wstring value = (source_->*get)();
      if (value.empty()) return S_FALSE;
      *text = g_accessibility.allocateString(value.c_str(), UINT(value.size()));
      return *text ? S_OK : E_OUTOFMEMORY;
    } catch (...) {
      return E_FAIL;
    }
  }

  LONG references_ = 1;
  const accessible_source* source_;
  IAccessible* standard_;  // one reference, until disconnected
};

LRESULT accessible_client::Answer(HWND window, WPARAM flags, LPARAM objectId) {
  if (LONG(objectId) != LONG(OBJID_CLIENT) || !g_accessibility.Load()) return 0;
  if (!object_) {
    IAccessible* standard = nullptr;
    if (FAILED(g_accessibility.createStandardObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                                    reinterpret_cast<void**>(&standard))))
      return 0;
    object_ = new (std::nothrow) accessible_window(source_, standard);
    if (!object_) {
      standard->Release();
      return 0;
    }
  }
  return g_accessibility.resultFromObject(__uuidof(IAccessible), flags, object_);
}

void accessible_client::Disconnect() {
  if (!object_) return;
  object_->Disconnect();
  // Clients in other processes let go now, not when they release their proxies: by then the
  // library may be unloaded.
  g_accessibility.disconnectObject(object_, 0);
  object_->Release();
  object_ = nullptr;
}
