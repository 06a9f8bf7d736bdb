#include "render/taskbar_buttons_win.hpp"

#include <algorithm>
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

Result<ComPtr<uia::IUIAutomation>> make_automation() {
  ComPtr<uia::IUIAutomation> automation;
  const HRESULT hr = CoCreateInstance(uia::kClsidCuiAutomation, nullptr, CLSCTX_INPROC_SERVER, uia::kIidAutomation,
                                      automation.put_void());
  if (FAILED(hr) || !automation) return failed("CoCreateInstance", hr);
  bound_calls(*automation.get());
  return automation;
}

// What a scan needs besides the calls into the shell, made once and kept by whoever scans
// again and again: the automation object, the condition that takes every element, the cache
// request and each taskbar's root element. Making these anew for every scan costs memory that
// UI Automation does not always give back (Wine's keeps some of every root element and
// condition made).
class ScanTools {
 public:
  static Result<ScanTools> make() {
    Result<ComPtr<uia::IUIAutomation>> automation = make_automation();
    if (!automation) return automation.error();
    ScanTools tools;
    tools.automation_ = std::move(*automation);
    HRESULT hr = tools.automation_->CreateTrueCondition(tools.all_.put());
    if (FAILED(hr) || !tools.all_) return failed("CreateTrueCondition", hr);
    // Without a cache request the scan reads each property with a call of its own.
    if (FAILED(tools.automation_->CreateCacheRequest(tools.request_.put())) || !tools.request_ ||
        FAILED(tools.request_->AddProperty(uia::kBoundingRectanglePropertyId)) ||
        FAILED(tools.request_->AddProperty(uia::kControlTypePropertyId))) {
      tools.request_.reset();
    }
    return tools;
  }

  // Every descendant of `taskbar` with its bounds and control type: fetched in the same round
  // trip where the cache can be had, else one property at a time.
  Result<std::vector<AutomationElement>> scan(HWND taskbar) {
    Result<uia::IUIAutomationElement*> root = root_of(taskbar);
    if (!root) return root.error();
    Result<std::vector<AutomationElement>> elements = scan_below(**root);
    if (!elements) forget(taskbar);  // a shell that restarted may answer a root made anew
    return elements;
  }

  // Lets go of the root elements of taskbars not among `taskbars`.
  void keep_only(const std::vector<HWND>& taskbars) {
    std::erase_if(roots_, [&](const Root& root) {
      return std::find(taskbars.begin(), taskbars.end(), root.taskbar) == taskbars.end();
    });
  }

 private:
  struct Root {
    HWND taskbar = nullptr;
    ComPtr<uia::IUIAutomationElement> element;
  };

  Result<uia::IUIAutomationElement*> root_of(HWND taskbar) {
    for (const Root& root : roots_) {
      if (root.taskbar == taskbar) return root.element.get();
    }
    ComPtr<uia::IUIAutomationElement> element;
    const HRESULT hr = automation_->ElementFromHandle(taskbar, element.put());
    if (FAILED(hr) || !element) return failed("ElementFromHandle", hr);
    roots_.push_back(Root{taskbar, std::move(element)});
    return roots_.back().element.get();
  }

  void forget(HWND taskbar) {
    std::erase_if(roots_, [&](const Root& root) { return root.taskbar == taskbar; });
  }

  Result<std::vector<AutomationElement>> scan_below(uia::IUIAutomationElement& root) {
    if (request_) {
      ComPtr<uia::IUIAutomationElementArray> found;
      const HRESULT hr = root.FindAllBuildCache(uia::kTreeScopeDescendants, all_.get(), request_.get(), found.put());
      if (SUCCEEDED(hr)) return read_elements(found.get(), true);
    }
    ComPtr<uia::IUIAutomationElementArray> found;
    const HRESULT hr = root.FindAll(uia::kTreeScopeDescendants, all_.get(), found.put());
    if (FAILED(hr)) return failed("FindAll", hr);
    return read_elements(found.get(), false);
  }

  ComPtr<uia::IUIAutomation> automation_;
  ComPtr<uia::IUIAutomationCondition> all_;
  ComPtr<uia::IUIAutomationCacheRequest> request_;
  std::vector<Root> roots_;
};

}  // namespace

// What the scanner and its worker share; it lives as long as either holds it.
struct TaskbarButtonScanner::Worker {
  UniqueHandle wake{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  std::atomic<bool> stop{false};
};

namespace {

// The worker's whole life: nothing may escape the thread. The scan tools are made at the
// first scan and kept; where they cannot be made (no UI Automation) every scan fails at once
// and the next one tries again.
void run_worker(std::shared_ptr<TaskbarButtonScanner::Worker> worker, Receiver<TaskbarButtonScanner::Request> requests,
                Sender<std::vector<TaskbarElements>> results) noexcept {
  const HRESULT entered = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  {
    std::optional<ScanTools> tools;
    while (WaitForSingleObject(worker->wake.get(), INFINITE) == WAIT_OBJECT_0 && !worker->stop.load()) {
      try {
        std::optional<TaskbarButtonScanner::Request> newest;
        while (std::optional<TaskbarButtonScanner::Request> request = requests.try_receive()) {
          newest = std::move(request);
        }
        if (!newest) continue;
        if (!tools) {
          if (Result<ScanTools> made = ScanTools::make()) tools = std::move(*made);
        }
        if (tools) tools->keep_only(newest->taskbars);
        std::vector<TaskbarElements> scanned;
        for (HWND taskbar : newest->taskbars) {
          TaskbarElements found{taskbar, std::nullopt};
          if (tools) {
            if (Result<std::vector<AutomationElement>> elements = tools->scan(taskbar)) {
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
  Result<ScanTools> tools = ScanTools::make();
  if (!tools) return tools.error();
  return tools->scan(taskbar);
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
