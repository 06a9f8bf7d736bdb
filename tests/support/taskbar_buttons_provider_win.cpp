#include "taskbar_buttons_provider_win.hpp"

#include <ole2.h>
#include <oleauto.h>
#include <uiautomationcore.h>

#include <atomic>
#include <utility>

#include "base/lazy_library_win.hpp"
#include "render/uia_client_win.hpp"

// COM objects end through Release, never through a destructor: IUnknown declares none.
#if defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

namespace vessa::test {
namespace {

constexpr int kControlTypeProperty = 30003;  // UIA_ControlTypePropertyId
constexpr int kNameProperty = 30005;         // UIA_NamePropertyId
constexpr int kButtonControlType = 50000;
constexpr int kPaneControlType = 50033;
constexpr int kAppendRuntimeId = 3;  // UiaAppendRuntimeId
constexpr LONG kRootObjectId = -25;  // UiaRootObjectId

// uiautomationcoreapi.h does not compile as C++ (a parameter named `new`), and MinGW has no
// import library for it: the two calls are looked up.
LazyLibrary automation_core(L"uiautomationcore.dll");
LazyFunction<LRESULT(HWND, WPARAM, LPARAM, IRawElementProviderSimple*)> return_provider(
    automation_core, "UiaReturnRawElementProvider");
LazyFunction<HRESULT(HWND, IRawElementProviderSimple**)> host_from_hwnd(automation_core, "UiaHostProviderFromHwnd");

// A reference count shared by the interfaces of one object.
class Counted {
 public:
  virtual ~Counted() = default;
  ULONG add() noexcept { return ++references_; }
  ULONG release() noexcept {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 private:
  std::atomic<ULONG> references_{1};
};

HRESULT int_variant(int value, VARIANT* out) {
  out->vt = VT_I4;
  out->lVal = value;
  return S_OK;
}

}  // namespace

struct TaskbarButtonsProvider::Root : Counted,
                                      IRawElementProviderSimple,
                                      IRawElementProviderFragment,
                                      IRawElementProviderFragmentRoot {
  HWND window;
  std::vector<RECT> buttons;
  std::atomic<int> searches{0};

  explicit Root(HWND taskbar) : window(taskbar) {}

  // IUnknown, for all three interfaces.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IRawElementProviderSimple)) {
      *out = static_cast<IRawElementProviderSimple*>(this);
    } else if (iid == __uuidof(IRawElementProviderFragment)) {
      *out = static_cast<IRawElementProviderFragment*>(this);
    } else if (iid == __uuidof(IRawElementProviderFragmentRoot)) {
      *out = static_cast<IRawElementProviderFragmentRoot*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    add();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return add(); }
  ULONG STDMETHODCALLTYPE Release() override { return release(); }

  // IRawElementProviderSimple
  HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* options) override {
    *options = ProviderOptions_ServerSideProvider;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID, IUnknown** pattern) override {
    *pattern = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* value) override {
    VariantInit(value);
    if (property == kControlTypeProperty) return int_variant(kPaneControlType, value);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** host) override {
    *host = nullptr;
    return host_from_hwnd.address() != nullptr ? host_from_hwnd(window, host) : S_OK;
  }

  // IRawElementProviderFragment
  HRESULT STDMETHODCALLTYPE Navigate(NavigateDirection direction, IRawElementProviderFragment** found) override;
  HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY** id) override {
    *id = nullptr;  // the window's own identity serves
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_BoundingRectangle(UiaRect* rect) override {
    *rect = UiaRect{};  // the window's own rectangle serves
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetEmbeddedFragmentRoots(SAFEARRAY** roots) override {
    *roots = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetFocus() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE get_FragmentRoot(IRawElementProviderFragmentRoot** root) override {
    add();
    *root = this;
    return S_OK;
  }

  // IRawElementProviderFragmentRoot
  HRESULT STDMETHODCALLTYPE ElementProviderFromPoint(double, double, IRawElementProviderFragment** found) override {
    *found = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetFocus(IRawElementProviderFragment** found) override {
    *found = nullptr;
    return S_OK;
  }
};

namespace {

// One button: its place in the root's list, read afresh on every call.
struct Button : Counted, IRawElementProviderSimple, IRawElementProviderFragment {
  TaskbarButtonsProvider::Root* root;
  std::size_t index;

  Button(TaskbarButtonsProvider::Root* owner, std::size_t position) : root(owner), index(position) { root->add(); }
  ~Button() override { root->release(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IRawElementProviderSimple)) {
      *out = static_cast<IRawElementProviderSimple*>(this);
    } else if (iid == __uuidof(IRawElementProviderFragment)) {
      *out = static_cast<IRawElementProviderFragment*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    add();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return add(); }
  ULONG STDMETHODCALLTYPE Release() override { return release(); }

  HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* options) override {
    *options = ProviderOptions_ServerSideProvider;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID, IUnknown** pattern) override {
    *pattern = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* value) override {
    VariantInit(value);
    if (property == kControlTypeProperty) return int_variant(kButtonControlType, value);
    if (property == kNameProperty) {
      value->vt = VT_BSTR;
      value->bstrVal = SysAllocString(L"Task button");
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** host) override {
    *host = nullptr;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Navigate(NavigateDirection direction, IRawElementProviderFragment** found) override {
    *found = nullptr;
    if (direction == NavigateDirection_Parent) {
      root->add();
      *found = static_cast<IRawElementProviderFragment*>(root);
    } else if (direction == NavigateDirection_NextSibling && index + 1 < root->buttons.size()) {
      *found = new Button(root, index + 1);
    } else if (direction == NavigateDirection_PreviousSibling && index > 0 && index - 1 < root->buttons.size()) {
      *found = new Button(root, index - 1);
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY** id) override {
    *id = SafeArrayCreateVector(VT_I4, 0, 2);
    if (*id == nullptr) return E_OUTOFMEMORY;
    LONG at = 0;
    int part = kAppendRuntimeId;
    SafeArrayPutElement(*id, &at, &part);
    at = 1;
    part = static_cast<int>(index) + 1;
    SafeArrayPutElement(*id, &at, &part);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_BoundingRectangle(UiaRect* rect) override {
    *rect = UiaRect{};
    if (index >= root->buttons.size()) return S_OK;
    const RECT& r = root->buttons[index];
    *rect = UiaRect{double(r.left), double(r.top), double(r.right - r.left), double(r.bottom - r.top)};
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetEmbeddedFragmentRoots(SAFEARRAY** roots) override {
    *roots = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetFocus() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE get_FragmentRoot(IRawElementProviderFragmentRoot** fragment_root) override {
    root->add();
    *fragment_root = root;
    return S_OK;
  }
};

constexpr wchar_t kRootProperty[] = L"VessaTestButtonsRoot";
constexpr wchar_t kProcedureProperty[] = L"VessaTestButtonsProcedure";

LRESULT CALLBACK answer_automation(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  const auto previous = reinterpret_cast<WNDPROC>(GetPropW(window, kProcedureProperty));
  auto* root = static_cast<TaskbarButtonsProvider::Root*>(GetPropW(window, kRootProperty));
  if (message == WM_GETOBJECT && static_cast<LONG>(lparam) == kRootObjectId && root != nullptr) {
    if (const auto answer = return_provider.address()) return answer(window, wparam, lparam, root);
  }
  return previous != nullptr ? CallWindowProcW(previous, window, message, wparam, lparam)
                             : DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

HRESULT STDMETHODCALLTYPE TaskbarButtonsProvider::Root::Navigate(NavigateDirection direction,
                                                                 IRawElementProviderFragment** found) {
  *found = nullptr;
  if (buttons.empty()) {
    if (direction == NavigateDirection_FirstChild) ++searches;
    return S_OK;
  }
  if (direction == NavigateDirection_FirstChild) {
    ++searches;
    *found = new Button(this, 0);
  } else if (direction == NavigateDirection_LastChild) {
    *found = new Button(this, buttons.size() - 1);
  }
  return S_OK;
}

TaskbarButtonsProvider::TaskbarButtonsProvider(HWND taskbar) : taskbar_(taskbar), root_(new Root(taskbar)) {
  SetPropW(taskbar_, kRootProperty, root_);
  const LONG_PTR previous =
      SetWindowLongPtrW(taskbar_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&answer_automation));
  SetPropW(taskbar_, kProcedureProperty, reinterpret_cast<HANDLE>(previous));
}

TaskbarButtonsProvider::~TaskbarButtonsProvider() {
  if (IsWindow(taskbar_)) {
    SetWindowLongPtrW(taskbar_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GetPropW(taskbar_, kProcedureProperty)));
    RemovePropW(taskbar_, kProcedureProperty);
    RemovePropW(taskbar_, kRootProperty);
  }
  root_->buttons.clear();
  root_->release();
}

void TaskbarButtonsProvider::set_buttons(std::vector<RECT> buttons) { root_->buttons = std::move(buttons); }

int TaskbarButtonsProvider::searches() const noexcept { return root_->searches.load(); }

bool ui_automation_client_available() {
  const HRESULT entered = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IUnknown* automation = nullptr;
  const HRESULT created = CoCreateInstance(uia::kClsidCuiAutomation, nullptr, CLSCTX_INPROC_SERVER,
                                           uia::kIidAutomation, reinterpret_cast<void**>(&automation));
  if (automation != nullptr) automation->Release();
  if (SUCCEEDED(entered)) CoUninitialize();
  return SUCCEEDED(created);
}

}  // namespace vessa::test
