#include "render/clock_search_win.hpp"

#include <oleauto.h>

#include <algorithm>

#include "base/unique_handle_win.hpp"
#include "base/win_error_win.hpp"
#include "render/taskbar_win.hpp"
#include "render/uia_client_win.hpp"

namespace vessa {
namespace {

void free_bstr(BSTR text) noexcept { SysFreeString(text); }
using UniqueBstr = UniqueAny<BSTR, &free_bstr>;

Error failed(const char* call, HRESULT hr) {
  return Error(std::string("UI Automation の ") + call + " に失敗しました", hresult_error(hr));
}

// The automation object lives in the main thread's single-threaded apartment, entered once.
void enter_apartment() {
  static const HRESULT entered = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  (void)entered;  // already initialised, in either model, is as good for an in-process object
}

// An automation object whose calls into the shell give up after the short time-outs. Without
// IUIAutomation2 (before Windows 8) the calls could not be bounded: that counts as a failure.
Result<ComPtr<uia::IUIAutomation>> bounded_automation() {
  ComPtr<uia::IUIAutomation> automation;
  HRESULT hr = CoCreateInstance(uia::kClsidCuiAutomation, nullptr, CLSCTX_INPROC_SERVER, uia::kIidAutomation,
                                automation.put_void());
  if (FAILED(hr) || !automation) return failed("CoCreateInstance", hr);
  ComPtr<uia::IUIAutomation2> bounded;
  hr = automation->QueryInterface(uia::kIidAutomation2, bounded.put_void());
  if (FAILED(hr) || !bounded) return failed("IUIAutomation2", hr);
  hr = bounded->put_ConnectionTimeout(kClockConnectionTimeoutMs);
  if (FAILED(hr)) return failed("ConnectionTimeout", hr);
  hr = bounded->put_TransactionTimeout(kClockTransactionTimeoutMs);
  if (FAILED(hr)) return failed("TransactionTimeout", hr);
  return automation;
}

void merge(std::optional<RECT>& area, const RECT& rect) {
  if (!area) {
    area = rect;
    return;
  }
  area->left = std::min(area->left, rect.left);
  area->top = std::min(area->top, rect.top);
  area->right = std::max(area->right, rect.right);
  area->bottom = std::max(area->bottom, rect.bottom);
}

}  // namespace

Result<std::optional<RECT>> clock_area_by_automation(HWND taskbar) {
  enter_apartment();
  Result<ComPtr<uia::IUIAutomation>> automation = bounded_automation();
  if (!automation) return automation.error();

  ComPtr<uia::IUIAutomationElement> root;
  HRESULT hr = (*automation)->ElementFromHandle(taskbar, root.put());
  if (FAILED(hr) || !root) return failed("ElementFromHandle", hr);

  const UniqueBstr name(SysAllocString(L"SystemTrayIcon"));
  if (!name) return failed("SysAllocString", E_OUTOFMEMORY);
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = name.get();  // lent: the condition keeps a copy
  ComPtr<uia::IUIAutomationCondition> condition;
  hr = (*automation)->CreatePropertyCondition(uia::kAutomationIdPropertyId, value, condition.put());
  if (FAILED(hr) || !condition) return failed("CreatePropertyCondition", hr);

  ComPtr<uia::IUIAutomationElementArray> found;
  hr = root->FindAll(uia::kTreeScopeDescendants, condition.get(), found.put());
  if (FAILED(hr) || !found) return failed("FindAll", hr);
  int length = 0;
  hr = found->get_Length(&length);
  if (FAILED(hr)) return failed("get_Length", hr);

  std::optional<RECT> area;
  for (int i = 0; i < length; ++i) {
    ComPtr<uia::IUIAutomationElement> element;
    hr = found->GetElement(i, element.put());
    if (FAILED(hr) || !element) return failed("GetElement", hr);
    RECT rect{};
    hr = element->get_CurrentBoundingRectangle(&rect);
    if (FAILED(hr)) return failed("get_CurrentBoundingRectangle", hr);
    if (rect.left < rect.right) merge(area, rect);
  }
  return area;
}

std::optional<RECT> find_clock_area(HWND taskbar) {
  // A time-out is a failure like any other: the fallback now, another search on schedule.
  const Result<std::optional<RECT>> automated = clock_area_by_automation(taskbar);
  if (automated && automated->has_value()) return **automated;
  return notification_area_rect(taskbar);
}

}  // namespace vessa
