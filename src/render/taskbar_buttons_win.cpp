#include "render/taskbar_buttons_win.hpp"

#include <atomic>
#include <exception>
#include <memory>
#include <stdexcept>
#include <thread>
#include <utility>

#include "base/unique_handle_win.hpp"
#include "base/win_error_win.hpp"
#include "render/clock_search_win.hpp"
#include "render/uia_client_win.hpp"

namespace vessa {
namespace {

Error failed(const char* call, HRESULT hr) {
  return Error(std::string("UI Automation の ") + call + " に失敗しました", hresult_error(hr));
}

Rect to_rect(const RECT& rect) noexcept { return Rect{rect.left, rect.top, rect.right, rect.bottom}; }

// The calls into the shell give up after the clock search's time-outs where the system offers
// them (IUIAutomation2, Windows 8 and later). Without them the worker waits for the shell's
// own time-out; the window thread never does.
void bound_calls(uia::IUIAutomation& automation) {
  ComPtr<uia::IUIAutomation2> bounded;
  if (FAILED(automation.QueryInterface(uia::kIidAutomation2, bounded.put_void())) || !bounded) return;
  (void)bounded->put_ConnectionTimeout(kClockConnectionTimeoutMs);
  (void)bounded->put_TransactionTimeout(kClockTransactionTimeoutMs);
}

// The bounds and control types of a search's elements: from the cache the search built, or
// read one call into the shell at a time. No array at all is an empty search (Wine's client
// answers so).
Result<std::vector<AutomationElement>> read_elements(uia::IUIAutomationElementArray* found, bool cached) {
  if (found == nullptr) return std::vector<AutomationElement>{};
  int length = 0;
  HRESULT hr = found->get_Length(&length);
  if (FAILED(hr)) return failed("get_Length", hr);
  std::vector<AutomationElement> elements;
  elements.reserve(static_cast<std::size_t>(std::max(length, 0)));
  for (int i = 0; i < length; ++i) {
    ComPtr<uia::IUIAutomationElement> element;
    hr = found->GetElement(i, element.put());
    if (FAILED(hr) || !element) return failed("GetElement", hr);
    RECT bounds{};
    int control_type = 0;
    hr = cached ? element->get_CachedBoundingRectangle(&bounds) : element->get_CurrentBoundingRectangle(&bounds);
    if (FAILED(hr)) return failed("BoundingRectangle", hr);
    hr = cached ? element->get_CachedControlType(&control_type) : element->get_CurrentControlType(&control_type);
    if (FAILED(hr)) return failed("ControlType", hr);
    elements.push_back({to_rect(bounds), control_type});
  }
  return elements;
}

// Every descendant with its bounds and control type fetched in the same round trip.
Result<std::vector<AutomationElement>> cached_scan(uia::IUIAutomation& automation, uia::IUIAutomationElement& root,
                                                   uia::IUIAutomationCondition& all) {
  ComPtr<uia::IUIAutomationCacheRequest> request;
  HRESULT hr = automation.CreateCacheRequest(request.put());
  if (FAILED(hr) || !request) return failed("CreateCacheRequest", hr);
  if (FAILED(hr = request->AddProperty(uia::kBoundingRectanglePropertyId)) ||
      FAILED(hr = request->AddProperty(uia::kControlTypePropertyId))) {
    return failed("AddProperty", hr);
  }
  ComPtr<uia::IUIAutomationElementArray> found;
  hr = root.FindAllBuildCache(uia::kTreeScopeDescendants, &all, request.get(), found.put());
  if (FAILED(hr)) return failed("FindAllBuildCache", hr);
  return read_elements(found.get(), true);
}

// The same without a cache: each property is one more call into the shell.
Result<std::vector<AutomationElement>> plain_scan(uia::IUIAutomationElement& root, uia::IUIAutomationCondition& all) {
  ComPtr<uia::IUIAutomationElementArray> found;
  const HRESULT hr = root.FindAll(uia::kTreeScopeDescendants, &all, found.put());
  if (FAILED(hr)) return failed("FindAll", hr);
  return read_elements(found.get(), false);
}

Result<ComPtr<uia::IUIAutomation>> make_automation() {
  ComPtr<uia::IUIAutomation> automation;
  const HRESULT hr = CoCreateInstance(uia::kClsidCuiAutomation, nullptr, CLSCTX_INPROC_SERVER, uia::kIidAutomation,
                                      automation.put_void());
  if (FAILED(hr) || !automation) return failed("CoCreateInstance", hr);
  bound_calls(*automation.get());
  return automation;
}

Result<std::vector<AutomationElement>> scan_with(uia::IUIAutomation& automation, HWND taskbar) {
  ComPtr<uia::IUIAutomationElement> root;
  HRESULT hr = automation.ElementFromHandle(taskbar, root.put());
  if (FAILED(hr) || !root) return failed("ElementFromHandle", hr);
  ComPtr<uia::IUIAutomationCondition> all;
  hr = automation.CreateTrueCondition(all.put());
  if (FAILED(hr) || !all) return failed("CreateTrueCondition", hr);
  Result<std::vector<AutomationElement>> cached = cached_scan(automation, *root.get(), *all.get());
  if (cached) return cached;
  return plain_scan(*root.get(), *all.get());
}

}  // namespace

// What the scanner and its worker share; it lives as long as either holds it.
struct TaskbarButtonScanner::Worker {
  UniqueHandle wake{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  std::atomic<bool> stop{false};
};

namespace {

// The worker's whole life: nothing may escape the thread. The automation object is made at
// the first scan and kept; where it cannot be made (no UI Automation) every scan fails at once.
void run_worker(std::shared_ptr<TaskbarButtonScanner::Worker> worker, Receiver<TaskbarButtonScanner::Request> requests,
                Sender<std::vector<TaskbarElements>> results) noexcept {
  const HRESULT entered = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  {
    ComPtr<uia::IUIAutomation> automation;
    while (WaitForSingleObject(worker->wake.get(), INFINITE) == WAIT_OBJECT_0 && !worker->stop.load()) {
      try {
        std::optional<TaskbarButtonScanner::Request> newest;
        while (std::optional<TaskbarButtonScanner::Request> request = requests.try_receive()) {
          newest = std::move(request);
        }
        if (!newest) continue;
        if (!automation) {
          if (Result<ComPtr<uia::IUIAutomation>> made = make_automation()) automation = std::move(*made);
        }
        std::vector<TaskbarElements> scanned;
        for (HWND taskbar : newest->taskbars) {
          TaskbarElements found{taskbar, std::nullopt};
          if (automation) {
            if (Result<std::vector<AutomationElement>> elements = scan_with(*automation.get(), taskbar)) {
              found.elements = std::move(*elements);
            }
          }
          scanned.push_back(std::move(found));
        }
        if (results.send(std::move(scanned))) PostMessageW(newest->window, newest->message, 0, 0);
      } catch (...) {
        // Out of memory: this scan is lost; the next layout or shell event asks again.
      }
    }
  }
  if (SUCCEEDED(entered)) CoUninitialize();
}

}  // namespace

Result<std::vector<AutomationElement>> scan_taskbar_elements(HWND taskbar) {
  Result<ComPtr<uia::IUIAutomation>> automation = make_automation();
  if (!automation) return automation.error();
  return scan_with(*automation->get(), taskbar);
}

TaskbarButtonScanner::~TaskbarButtonScanner() {
  if (!worker_) return;
  worker_->stop.store(true);
  SetEvent(worker_->wake.get());
}

void TaskbarButtonScanner::request(std::vector<HWND> taskbars, HWND window, UINT message, Clock::time_point now) {
  wanted_ = std::move(taskbars);
  if (gate_.want(now)) start(window, message);
}

void TaskbarButtonScanner::start_pending(HWND window, UINT message, Clock::time_point now) {
  if (gate_.start_pending(now)) start(window, message);
}

void TaskbarButtonScanner::start(HWND window, UINT message) {
  try {
    if (!worker_) {
      auto worker = std::make_shared<Worker>();
      if (!worker->wake) throw std::runtime_error("no event");
      Channel<Request> requests;
      Channel<std::vector<TaskbarElements>> results;
      std::thread(run_worker, worker, std::move(requests.receiver), std::move(results.sender)).detach();
      worker_ = std::move(worker);
      requests_ = std::move(requests.sender);
      results_ = std::move(results.receiver);
    }
    requests_.send(Request{wanted_, window, message});
    SetEvent(worker_->wake.get());
  } catch (const std::exception&) {
    // No thread, no event or no memory for them: no scan this time; the next trigger asks again.
    gate_.finished();
  }
}

std::optional<std::vector<TaskbarElements>> TaskbarButtonScanner::take_finished() {
  std::optional<std::vector<TaskbarElements>> newest;
  while (std::optional<std::vector<TaskbarElements>> scan = results_.try_receive()) {
    newest = std::move(scan);
    gate_.finished();
  }
  return newest;
}

}  // namespace vessa
